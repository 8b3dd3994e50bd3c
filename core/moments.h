// Moment kernels of the components' statistics (internal, header-only): mean
// and variance (one pass, or the two-pass standard deviation), skewness and kurtosis, geometric and harmonic mean, Pearson's
// correlation. The
// vectors run them over a range of elements; the matrices, the 3-D and 4-D
// arrays and the data table over blocks of cells. Every routine with these
// formulas calls them, so a mend reaches all of them at once.
//
// How to use
// ----------
// A kernel reads a sequence: a callable Visit(F) that calls F(x) once per
// value, in the order the routine documents (a vector's range, a block
// column by column, ...). x may be of any arithmetic type; it is read as a
// double. SkewKurtOf calls Visit twice, and both calls must give the same
// values. For a contiguous run of values, SpanSequence(P, N) is the visitor.
//
//   const TMeanVar R = MeanVarOf([&](auto&& F) {
//     for (int32_t C = LoC; C <= HiC; ++C)
//       for (int32_t R = LoR; R <= HiR; ++R) F(M.Mat[Ix1(C)][Ix1(R)]);
//   });
//   if (R.N > 0) { Mean = R.Mean; Variance = R.Variance; }
//
// The kernels never raise and know no component: GeometricMeanOf and
// HarmonicMeanOf report the values the caller must refuse, and the caller
// raises its own error with its own message. Where a component documents a
// formula in another order of operations, the kernel takes the order as a
// parameter (TCorrectionOrder) or the component keeps it itself.
#pragma once

#include <cmath>
#include <cstdint>

namespace orv::detail {

// The values P[0..N-1] as a sequence.
template <class T>
auto SpanSequence(const T* P, int64_t N) {
  return [P, N](auto&& F) {
    for (int64_t I = 0; I < N; ++I) F(P[I]);
  };
}

// ---- mean and variance ----------------------------------------------------------
struct TMeanVar {
  int64_t N = 0;
  double Mean = 0.0;
  double Variance = 0.0;
};

// Mean := sum / n. Variance := 1.0 when n < 3 (the components' defined value,
// not an estimate); else (sum d^2 - (sum d)^2 / n) / (n - 1), 0.0 when
// rounding makes it negative, with d = x - x1, the value less the first value
// of the sequence. In exact arithmetic that is the textbook one-pass formula
// on x itself; on the shifted values data far from 0 keep their digits (NIST
// StRD NumAcc4 gives its certified 0.1 to 9 digits, where x^2 loses them all).
// One pass, the sums in sequence order. An empty sequence gives N = 0 and
// zeros.
//
// TMeanVarSums holds the running sums of one sequence, for a routine that
// runs many sequences side by side (one per row of a matrix read column by
// column); MeanVarOf is the same over one sequence.
struct TMeanVarSums {
  int64_t N = 0;
  double First = 0.0, S = 0.0, Sd = 0.0, Sdd = 0.0;

  void Add(double V) {
    if (N == 0) [[unlikely]]
      First = V;
    AddAfterFirst(V);
  }
  // Add where First is already the sequence's first value.
  void AddAfterFirst(double V) {
    ++N;
    S += V;
    const double D = V - First;
    Sd += D;
    Sdd += D * D;
  }

  TMeanVar Result() const {
    TMeanVar R;
    R.N = N;
    if (N == 0) return R;
    const double Nd = static_cast<double>(N);
    R.Mean = S / Nd;
    if (N < 3) {
      R.Variance = 1.0;
    } else {
      R.Variance = (Sdd - Sd * Sd / Nd) / (Nd - 1.0);
      if (R.Variance < 0.0) R.Variance = 0.0;
    }
    return R;
  }
};

template <class VisitFn>
TMeanVar MeanVarOf(VisitFn&& Visit) {
  TMeanVarSums Sums;
  Visit([&](auto X) { Sums.Add(static_cast<double>(X)); });
  return Sums.Result();
}

// The same where the caller knows the first value (First; any value for an
// empty sequence), which spares the hot loop a test per value.
template <class VisitFn>
TMeanVar MeanVarOf(VisitFn&& Visit, double First) {
  TMeanVarSums Sums;
  Sums.First = First;
  Visit([&](auto X) { Sums.AddAfterFirst(static_cast<double>(X)); });
  return Sums.Result();
}

// The textbook two-pass sample standard deviation: Mean := (sum x) / n, then
// StdDev := sqrt(sum (x - Mean)^2 / (n - 1)), both sums in sequence order
// from 0.0 (the array box statistics pin it). Visit is called twice; n
// counts in int64_t. Fewer than two values give StdDev 0 (and no second
// pass); an empty sequence gives N = 0 and zeros.
struct TMeanStdDev {
  int64_t N = 0;
  double Mean = 0.0, StdDev = 0.0;
};

template <class VisitFn>
TMeanStdDev TwoPassStdDevOf(VisitFn&& Visit) {
  TMeanStdDev R;
  double S = 0.0;
  Visit([&](auto X) {
    S += static_cast<double>(X);
    ++R.N;
  });
  if (R.N == 0) return R;
  R.Mean = S / static_cast<double>(R.N);
  if (R.N < 2) return R;
  const double M = R.Mean;
  double Q = 0.0;
  Visit([&](auto X) {
    const double D = static_cast<double>(X) - M;
    Q += D * D;
  });
  R.StdDev = std::sqrt(Q / static_cast<double>(R.N - 1));
  return R;
}

// ---- skewness and kurtosis --------------------------------------------------------
struct TSkewKurt {
  int64_t N = 0;
  double Skewness = 0.0;
  double Kurtosis = 0.0;
  bool Scaled = false;  // s was above 0, so both were formed
};

// The sums over the deviations d = x - m that SkewKurtOf forms, and its last
// step. AddRepeated enters Count equal deviations at once (a sparse block's
// positions that are not stored).
struct TDeviationSums {
  double T = 0.0, Q = 0.0, S3 = 0.0, S4 = 0.0;
  void Add(double D) {
    const double D2 = D * D;
    T += D;
    Q += D2;
    S3 += D2 * D;
    S4 += D2 * D2;
  }
  void AddRepeated(double D, double Count) {
    const double D2 = D * D;
    T += Count * D;
    Q += Count * D2;
    S3 += Count * (D2 * D);
    S4 += Count * (D2 * D2);
  }
  // s from Q and T; both results unless s is 0 (then R stays).
  void Scale(TSkewKurt& R) const {
    const double Nd = static_cast<double>(R.N);
    const double Var = (Q - T * T / Nd) / (Nd - 1.0);
    if (Var <= 0.0) return;  // NaN goes on: NaN data give NaN
    const double Sd = std::sqrt(Var);
    const double Sd2 = Sd * Sd;
    R.Scaled = true;
    R.Skewness = S3 / Nd / (Sd2 * Sd);
    R.Kurtosis = S4 / Nd / (Sd2 * Sd2) - 3.0;
  }
};

// What SkewKurtOf gives for fewer values than it needs: zeros (the vectors),
// or the unscaled sums of d^3 and d^4 (the matrices; for one value they are
// 0, or NaN for an infinite one).
enum class TFewValues : uint8_t { Zeros, RawSums };

// Moment skewness and excess kurtosis: with m = sum / n and d = x - m,
// s = sqrt((sum d^2 - (sum d)^2 / n) / (n - 1)), Skewness = sum d^3 / n / s^3,
// Kurtosis = sum d^4 / n / s^4 - 3. With fewer than MinCount values (the
// vectors need 4, the matrices 2; never fewer than 2 here) the results are
// what Few says; no value gives zeros. Both stay 0.0 when s is 0 (constant
// data, whose deviations from a rounded mean need not be 0; a term under the
// root below 0 counts as 0). A NaN in the data gives NaN.
// Two passes: the mean, then the deviations.
template <class VisitFn>
TSkewKurt SkewKurtOf(VisitFn&& Visit, int64_t MinCount, TFewValues Few = TFewValues::Zeros) {
  TSkewKurt R;
  double S = 0.0;
  Visit([&](auto X) {
    ++R.N;
    S += static_cast<double>(X);
  });
  const bool Enough = R.N >= MinCount && R.N >= 2;
  if (R.N == 0 || (!Enough && Few == TFewValues::Zeros)) return R;
  const double Nd = static_cast<double>(R.N);
  const double M = S / Nd;
  TDeviationSums D;
  Visit([&](auto X) { D.Add(static_cast<double>(X) - M); });
  if (!Enough) {
    R.Skewness = D.S3;
    R.Kurtosis = D.S4;
    return R;
  }
  D.Scale(R);
  return R;
}

// The order of operations of the bias correction, which each component's
// formula pins: the vectors' Products, the matrices' LeftToRight.
enum class TCorrectionOrder : uint8_t { Products, LeftToRight };

// The bias correction of the sample statistics (SkewKurtSample) applied to the
// result of SkewKurtOf. Products:
// Kurtosis := (K + 3) n^2 (n + 1) / ((n - 1)(n - 2)(n - 3)) - 3 (n - 1)^2 / ((n - 2)(n - 3)),
// Skewness := S n^2 / ((n - 1)(n - 2)); LeftToRight the same terms as
// n ((K + 3) n) (n + 1) / (n - 1) / (n - 2) / (n - 3) - 3 (n - 1)^2 / (n - 2) / (n - 3)
// and n (S n) / (n - 1) / (n - 2). These are the estimators G1 and G2
// of Joanes and Gill, "Comparing measures of sample skewness and kurtosis",
// J. Royal Stat. Soc. D 47(1), 1998. Both are 0.0 for fewer than 4 values,
// and stay 0.0 when SkewKurtOf formed none (constant data): the formula
// would turn that 0 into a kurtosis of about 3.
inline void SkewKurtSampleCorrection(TSkewKurt& R, TCorrectionOrder Order = TCorrectionOrder::Products) {
  if (R.N < 4 || !R.Scaled) {
    R.Skewness = 0.0;
    R.Kurtosis = 0.0;
    return;
  }
  const double Nd = static_cast<double>(R.N);
  if (Order == TCorrectionOrder::LeftToRight) {
    R.Kurtosis = Nd * ((R.Kurtosis + 3.0) * Nd) * (Nd + 1.0) / (Nd - 1.0) / (Nd - 2.0) / (Nd - 3.0) -
                 3.0 * ((Nd - 1.0) * (Nd - 1.0)) / (Nd - 2.0) / (Nd - 3.0);
    R.Skewness = Nd * (R.Skewness * Nd) / (Nd - 1.0) / (Nd - 2.0);
    return;
  }
  R.Kurtosis = (R.Kurtosis + 3.0) * (Nd * Nd) * (Nd + 1.0) / ((Nd - 1.0) * (Nd - 2.0) * (Nd - 3.0)) -
               3.0 * (Nd - 1.0) * (Nd - 1.0) / ((Nd - 2.0) * (Nd - 3.0));
  R.Skewness = R.Skewness * (Nd * Nd) / ((Nd - 1.0) * (Nd - 2.0));
}

// ---- geometric and harmonic mean ------------------------------------------------
// Every value is scanned, so a negative value is reported also behind a zero.
struct TGeometricMean {
  int64_t N = 0;
  int64_t Zeros = 0;      // values that were 0
  double LogSum = 0.0;    // sum of ln x over the positive values
  bool Zero = false;      // a value was 0
  bool Negative = false;  // a value was below 0: the caller raises
  // exp(LogSum / N); 0.0 when a value was 0 or the sequence is empty.
  double Value() const { return Zero || N == 0 ? 0.0 : std::exp(LogSum / static_cast<double>(N)); }
};

template <class VisitFn>
TGeometricMean GeometricMeanOf(VisitFn&& Visit) {
  TGeometricMean R;
  Visit([&](auto X) {
    const double V = static_cast<double>(X);
    ++R.N;
    if (V < 0.0)
      R.Negative = true;
    else if (V == 0.0) {
      R.Zero = true;
      ++R.Zeros;
    }
    else
      R.LogSum += std::log(V);
  });
  return R;
}

struct THarmonicMean {
  int64_t N = 0;
  double RecipSum = 0.0;     // sum of 1 / x
  bool NonPositive = false;  // a value was <= 0: the caller raises
  // N / RecipSum; 0.0 for an empty sequence.
  double Value() const { return N == 0 ? 0.0 : static_cast<double>(N) / RecipSum; }
};

template <class VisitFn>
THarmonicMean HarmonicMeanOf(VisitFn&& Visit) {
  THarmonicMean R;
  Visit([&](auto X) {
    const double V = static_cast<double>(X);
    ++R.N;
    if (V <= 0.0)
      R.NonPositive = true;
    else
      R.RecipSum += 1.0 / V;
  });
  return R;
}

// ---- correlation ----------------------------------------------------------------
// sqrt(|A B|); where the product leaves the range of normal doubles (two sums
// of squares near 1e-200 or 1e200) the roots apart do not. Where it stays
// there the product's root is the one taken: sqrt(2.5 * 10) is exactly 5,
// the product of the roots is not.
inline double RootOfProduct(double A, double B) {
  const double P = std::fabs(A * B);
  return std::isnormal(P) ? std::sqrt(P) : std::sqrt(std::fabs(A)) * std::sqrt(std::fabs(B));
}

// r = Qxy / sqrt(Qx Qy) from the centred sums, bounded to [-1, 1] (the sums
// round apart, which may take it a little beyond). NaN where a sum is not
// finite: an overflowed sum would turn r into a plausible 0 or +-1.
inline double CorrelationOfSums(double Qxy, double Qx, double Qy) {
  if (!std::isfinite(Qxy) || !std::isfinite(Qx) || !std::isfinite(Qy)) return std::nan("");
  const double R = Qxy / RootOfProduct(Qx, Qy);
  return R < -1.0 ? -1.0 : (R > 1.0 ? 1.0 : R);
}

// Pearson's r of the pairs of Visit, which calls F(x, y) once per pair. One
// pass of sums over x - x1 and y - y1 (x1, y1 the first pair): equal to the
// textbook sums in exact arithmetic, without their cancellation for data far
// from 0, and constant data has a zero sum of squares, so it gives 0 like
// all-zero data. r is CorrelationOfSums (bounded to [-1, 1], NaN where a
// sum overflows); fewer than MinCount pairs give 0.
template <class VisitFn>
double PearsonOf(VisitFn&& Visit, int64_t MinCount) {
  int64_t N = 0;
  double X1 = 0.0, Y1 = 0.0, Sx = 0.0, Sy = 0.0, Sxx = 0.0, Syy = 0.0, Sxy = 0.0;
  Visit([&](auto X, auto Y) {
    const double Xd = static_cast<double>(X), Yd = static_cast<double>(Y);
    if (N == 0) [[unlikely]] {
      X1 = Xd;
      Y1 = Yd;
    }
    ++N;
    const double A = Xd - X1, B = Yd - Y1;
    Sx += A;
    Sy += B;
    Sxx += A * A;
    Syy += B * B;
    Sxy += A * B;
  });
  if (N < MinCount || N == 0 || Sxx <= 0.0 || Syy <= 0.0) return 0.0;
  const double Nd = static_cast<double>(N);
  const double Qx = Sxx - Sx * Sx / Nd;
  if (Qx == 0.0) return 0.0;
  const double Qy = Syy - Sy * Sy / Nd;
  if (Qy == 0.0) return 0.0;
  return CorrelationOfSums(Sxy - Sx * Sy / Nd, Qx, Qy);
}

}  // namespace orv::detail
