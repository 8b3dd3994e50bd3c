// Smoothing, derivative and kernel filters of vectors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;
using test::FillValues;
using test::Values;

using TWindowed = void (*)(const TVector*, int32_t, int32_t, TVector*, int32_t);
const double NaN = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> Signal = {2, 4, 3, 7, 1, 8, 6, 6, 0, 5, 9, 2};

void ExpectNear(const std::vector<double>& Got, const std::vector<double>& Want, double Tol, const char* What) {
  ASSERT_EQ(Got.size(), Want.size()) << What;
  for (std::size_t I = 0; I < Got.size(); ++I) EXPECT_NEAR(Got[I], Want[I], Tol) << What << ", element " << I + 1;
}

// The h values at each end repeat the nearest centre's.
std::vector<double> WithEnds(std::vector<double> Centres, int32_t H) {
  std::vector<double> R(static_cast<std::size_t>(H), Centres.front());
  R.insert(R.end(), Centres.begin(), Centres.end());
  R.insert(R.end(), static_cast<std::size_t>(H), Centres.back());
  return R;
}

TEST(SavitzkyGolay, TablesInLowestTerms) {
  // Rows from scipy.signal.savgol_coeffs(w, 2, use='dot') and its deriv=2
  // form, the centre half as fractions over their common denominator
  // (Fraction(c).limit_denominator(10**6)).
  const std::vector<std::vector<int32_t>> Poly = {
      {35, 17, 12, -3},
      {21, 7, 6, 3, -2},
      {231, 59, 54, 39, 14, -21},
      {429, 89, 84, 69, 44, 9, -36},
      {143, 25, 24, 21, 16, 9, 0, -11},
      {1105, 167, 162, 147, 122, 87, 42, -13, -78},
      {323, 43, 42, 39, 34, 27, 18, 7, -6, -21},
      {2261, 269, 264, 249, 224, 189, 144, 89, 24, -51, -136},
      {3059, 329, 324, 309, 284, 249, 204, 149, 84, 9, -76, -171},
      {805, 79, 78, 75, 70, 63, 54, 43, 30, 15, -2, -21, -42},
      {5175, 467, 462, 447, 422, 387, 342, 287, 222, 147, 62, -33, -138, -253}};
  const std::vector<std::vector<int32_t>> Deriv2 = {
      {7, -2, -1, 2},
      {42, -4, -3, 0, 5},
      {462, -20, -17, -8, 7, 28},
      {429, -10, -9, -6, -1, 6, 15},
      {1001, -14, -13, -10, -5, 2, 11, 22},
      {6188, -56, -53, -44, -29, -8, 19, 52, 91},
      {3876, -24, -23, -20, -15, -8, 1, 12, 25, 40},
      {6783, -30, -29, -26, -21, -14, -5, 6, 19, 34, 51},
      {33649, -110, -107, -98, -83, -62, -35, -2, 37, 82, 133, 190},
      {17710, -44, -43, -40, -35, -28, -19, -8, 5, 20, 37, 56, 77},
      {26910, -52, -51, -48, -43, -36, -27, -16, -3, 12, 29, 48, 69, 92}};
  for (int32_t R = 0; R < GolayRows; ++R)
    for (int32_t J = 0; J < GolayCols; ++J) {
      const auto Want = [&](const std::vector<std::vector<int32_t>>& T) {
        return static_cast<std::size_t>(J) < T[R].size() ? T[R][J] : 0;
      };
      EXPECT_EQ(GolayPoly[R][J], Want(Poly)) << "GolayPoly w = " << 2 * R + 5 << ", column " << J;
      EXPECT_EQ(Golay2ndDeriv[R][J], Want(Deriv2)) << "Golay2ndDeriv w = " << 2 * R + 5 << ", column " << J;
    }
}

TEST(WindowedFilters, InteriorValuesAgainstReferences) {
  // Centres of Signal; references computed once:
  //   np.correlate(s, c, 'valid') with c = np.ones(w)/w, [1,2,3,2,1]/9 and
  //   scipy.signal.savgol_coeffs(5, 2, use='dot') (deriv 0, 1, 2);
  //   scipy.signal.medfilt(s, w)[h:-h].
  const struct {
    const char* Name;
    TWindowed Routine;
    int32_t W;
    std::vector<double> Centres;
  } Rows[] = {
      {"average 5", MovingAverageSmooth, 5, {3.4, 4.6, 5.0, 5.6, 4.2, 5.0, 5.2, 4.4}},
      {"average 3", MovingAverageSmooth, 3,
       {3.0, 4.666666666666666, 3.6666666666666665, 5.333333333333333, 5.0, 6.666666666666666, 4.0,
        3.6666666666666665, 4.666666666666666, 5.333333333333333}},
      {"weighted 5", WeightedAverageSmooth, 5,
       {3.7777777777777777, 4.555555555555555, 4.666666666666666, 5.666666666666667, 5.222222222222222,
        4.777777777777778, 4.111111111111111, 4.555555555555555}},
      {"median 5", MovingMedianSmooth, 5, {3, 4, 6, 6, 6, 6, 6, 5}},
      {"median 3", MovingMedianSmooth, 3, {3, 4, 3, 7, 6, 6, 6, 5, 5, 5}},
      {"polynomial 5", PolynomialSmooth, 5,
       {4.97142857142857, 3.74285714285714, 4.857142857142854, 5.171428571428569, 7.628571428571425,
        3.857142857142854, 2.485714285714284, 4.8285714285714265}},
      {"first derivative 5", FirstDeriv, 5, {0.1, 0.6, 0.7, 0.3, -0.4, -1.2, 0.5, 0.1}},
      {"second derivative 5", SecondDeriv, 5,
       {-1.5714285714285738, 0.8571428571428548, 0.14285714285714035, 0.4285714285714246, -3.4285714285714315,
        1.14285714285714, 2.7142857142857117, -0.42857142857143216}},
  };
  TVector Src, Dst;
  FillValues(Src, Signal);
  for (const auto& R : Rows) {
    R.Routine(&Src, 1, 12, &Dst, R.W);
    ExpectNear(Values(Dst), WithEnds(R.Centres, R.W / 2), 1e-12, R.Name);
  }
}

TEST(WindowedFilters, PolynomialFamilyExactOnPolynomialsAtEveryLength) {
  // Quadratic Savitzky-Golay fits are exact for cubics (the odd term drops
  // out of the symmetric weights): x = 1 + 2k - 0.5k^2 + 0.1k^3 smooths to
  // itself and has the second derivative -1 + 0.6k; the slope of the
  // quadratic 1 + 2k - 0.5k^2 is 2 - k.
  TVector Cubic, Quad, Dst;
  std::vector<double> C, Q;
  for (int K = 1; K <= 60; ++K) {
    C.push_back(1 + 2.0 * K - 0.5 * K * K + 0.1 * K * K * K);
    Q.push_back(1 + 2.0 * K - 0.5 * K * K);
  }
  FillValues(Cubic, C);
  FillValues(Quad, Q);
  for (int32_t W = 5; W <= 25; W += 2) {
    const int32_t H = W / 2;
    PolynomialSmooth(&Cubic, 1, 60, &Dst, W);
    for (int K = H + 1; K <= 60 - H; ++K) EXPECT_NEAR(Dst.GetVal(K), C[K - 1], 1e-10) << "w = " << W << " k = " << K;
    SecondDeriv(&Cubic, 1, 60, &Dst, W);
    for (int K = H + 1; K <= 60 - H; ++K) EXPECT_NEAR(Dst.GetVal(K), -1 + 0.6 * K, 1e-10) << "w = " << W;
    FirstDeriv(&Quad, 1, 60, &Dst, W);
    for (int K = H + 1; K <= 60 - H; ++K) EXPECT_NEAR(Dst.GetVal(K), 2.0 - K, 1e-12) << "w = " << W;
  }
  // The edge cases of the method's description, ends included.
  TVector Out;
  std::vector<double> Lin, Sq;
  for (int K = 1; K <= 20; ++K) {
    Lin.push_back(3.0 * K);
    Sq.push_back(1.0 * K * K);
  }
  FillValues(Quad, Lin);
  FirstDeriv(&Quad, 1, 20, &Out, 7);
  EXPECT_EQ(Values(Out), std::vector<double>(20, 3.0));
  FillValues(Quad, Sq);
  SecondDeriv(&Quad, 1, 20, &Out, 19);
  EXPECT_EQ(Values(Out), std::vector<double>(20, 2.0));
  FillValues(Quad, std::vector<double>(20, 0.7));
  MovingAverageSmooth(&Quad, 1, 20, &Out, 9);
  for (double V : Values(Out)) EXPECT_NEAR(V, 0.7, 1e-15);
}

TEST(WindowedFilters, MessagesInTheirOrder) {
  const struct {
    TWindowed Routine;
    const char* Name;
    const char* Window;  // the window's name in the texts
    const char* Range;   // "smoothing" or "calculation"
    const char* Windows; // the range text's name of the window
    int32_t Smallest, Largest;
  } Rows[] = {
      {MovingAverageSmooth, "MovingAverageSmooth", "smoothing window", "smoothing", "smoothing windows", 3, 0},
      {MovingMedianSmooth, "MovingMedianSmooth", "smoothing window", "smoothing", "smoothing windows", 3, 0},
      {WeightedAverageSmooth, "WeightedAverageSmooth", "smoothing window", "smoothing", "smoothing windows", 3, 0},
      {PolynomialSmooth, "PolynomialSmooth", "polynomial", "smoothing", "polynomial", 5, 25},
      {SecondDeriv, "SecondDeriv", "polynomial", "smoothing", "polynomial", 5, 25},
      {FirstDeriv, "FirstDeriv", "polynomial", "calculation", "polynomial", 5, 25},
  };
  TVector Src, Dst;
  FillValues(Src, std::vector<double>(50, 1.0));
  for (const auto& R : Rows) {
    const std::string N = R.Name;
    const std::string Undefined = N + ": either SourceVec or DestVec is undefined";
    const std::string Range = N + ": specified range for " + R.Range + " is smaller than the length of the " + R.Windows;
    const std::string Length = N + ": length of " + R.Window + " is out of range";
    const std::string Odd = N + ": length of " + R.Window + " must be odd";
    ExpectRaises<EORVMath2Error>([&] { R.Routine(nullptr, 1, 50, &Dst, 5); }, Undefined);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, nullptr, 5); }, Undefined);
    // The range check is strict and comes before the length checks; (0, 0)
    // is no whole-vector range here.
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 10, 14, &Dst, 5); }, Range);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 0, 0, &Dst, 3); }, Range);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, 50); }, Range);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, R.Smallest - 1); }, Length);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, R.Smallest - 2); }, Length);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, -7); }, Length);
    ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, R.Smallest + 1); }, Odd);
    if (R.Largest > 0) {
      ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, R.Largest + 2); }, Length);
      ExpectRaises<EORVMath2Error>([&] { R.Routine(&Src, 1, 50, &Dst, R.Largest + 1); }, Length);
    }
    EXPECT_EQ(Dst.NrOfElem(), 1) << N << ": nothing written before a check fails";
    EXPECT_TRUE(Dst.IsEmpty()) << N;
    // The smallest and largest lengths pass, and so does Hi - Lo = w.
    R.Routine(&Src, 10, 10 + R.Smallest, &Dst, R.Smallest);
    EXPECT_EQ(Dst.NrOfElem(), R.Smallest + 1) << N;
    if (R.Largest > 0) {
      EXPECT_NO_THROW(R.Routine(&Src, 1, 50, &Dst, R.Largest)) << N;
    }
    Dst.Resize(1);
    Dst.SetIsEmpty(true);
  }
}

TEST(WindowedFilters, RangeDestinationSizeAndEvents) {
  TVector Src, Dst;
  std::vector<double> X;
  for (int K = 1; K <= 50; ++K) X.push_back(K);
  FillValues(Src, X);
  // Bounds clamped into 1..50 and exchanged; a short destination grows.
  MovingAverageSmooth(&Src, 1000, 0, &Dst, 3);
  EXPECT_EQ(Values(Dst), WithEnds(std::vector<double>(X.begin() + 1, X.end() - 1), 1));
  // A sub-range lands at element 1; a longer destination keeps its tail.
  FillValues(Dst, std::vector<double>(10, -1.0));
  MovingAverageSmooth(&Src, 21, 26, &Dst, 3);
  EXPECT_EQ(Values(Dst), (std::vector<double>{22, 22, 23, 24, 25, 25, -1, -1, -1, -1}));
  // With a handler: one OnChange per element written, one for the growth,
  // one at the end; the same values.
  TVector Watched;
  int Changes = 0;
  Watched.OnChange = [&](TObject*) { ++Changes; };
  MovingAverageSmooth(&Src, 21, 26, &Watched, 3);
  EXPECT_EQ(Changes, 6 + 1 + 1);
  EXPECT_EQ(Values(Watched), (std::vector<double>{22, 22, 23, 24, 25, 25}));
  // The source may be the destination: every value from the unfiltered data.
  TVector Same, Copy;
  FillValues(Same, Signal);
  FillValues(Copy, Signal);
  for (TWindowed F : {MovingAverageSmooth, MovingMedianSmooth, WeightedAverageSmooth, PolynomialSmooth}) {
    F(&Copy, 1, 12, &Dst, 5);
    F(&Same, 1, 12, &Same, 5);
    EXPECT_EQ(Values(Same), Values(Dst));
    FillValues(Same, Signal);
  }
}

TEST(WindowedFilters, EveryCentreTheSameInBlocksAndTail) {
  // The centres run 16 at a time in vector lanes and the rest one by one; a
  // centre's value depends on its window only, so shifting the range start
  // moves every centre through lanes and tail with the same bits.
  std::mt19937_64 Gen(11);
  std::vector<double> X(90);
  for (double& V : X) V = std::ldexp(static_cast<double>(Gen() >> 11), -53) - 0.5;  // 53 random bits
  TVector Src, Whole, Part, Kernel;
  FillValues(Src, X);
  FillValues(Kernel, {0.3, -1.7, 2.1, 0.25, 1e-3});
  const auto Kernel5 = [&](const TVector* S, int32_t Lo, int32_t Hi, TVector* D, int32_t) {
    MovingKernelFilter(S, Lo, Hi, D, &Kernel);
  };
  const struct {
    const char* Name;
    std::function<void(const TVector*, int32_t, int32_t, TVector*, int32_t)> Routine;
    int32_t W;
  } Rows[] = {{"average", MovingAverageSmooth, 7},   {"weighted", WeightedAverageSmooth, 9},
              {"polynomial", PolynomialSmooth, 25},  {"first derivative", FirstDeriv, 11},
              {"second derivative", SecondDeriv, 5}, {"kernel", Kernel5, 5}};
  for (const auto& R : Rows) {
    const int32_t H = R.W / 2;
    R.Routine(&Src, 1, 90, &Whole, R.W);
    for (int32_t Lo = 2; Lo <= 17; ++Lo) {
      R.Routine(&Src, Lo, 90, &Part, R.W);
      for (int32_t I = Lo + H; I <= 90 - H; ++I)
        ASSERT_EQ(Part.GetVal(I - Lo + 1), Whole.GetVal(I)) << R.Name << ", range from " << Lo << ", centre " << I;
    }
  }
}

TEST(MovingMedianSmooth, EqualsTheQuartilesMedianOfEachWindow) {
  // Random windows with repeated values, NaN, infinities and signed zeros,
  // against the definition: Quartiles over the window (NaN sorts last).
  std::mt19937 Gen(7);
  const double Pool[] = {0.0, -0.0, 1.0, -1.0, 2.5, NaN, INFINITY, -INFINITY, 3.0, 1.0};
  std::vector<double> X(400);
  for (double& V : X) V = Gen() % 3 == 0 ? Pool[Gen() % 10] : static_cast<double>(Gen() % 1000) / 8;
  TVector Src, Dst, Window;
  FillValues(Src, X);
  for (const int32_t W : {3, 5, 25, 101}) {
    const int32_t H = W / 2;
    MovingMedianSmooth(&Src, 1, 400, &Dst, W);
    for (int32_t I = H + 1; I <= 400 - H; ++I) {
      FillValues(Window, std::vector<double>(X.begin() + (I - 1 - H), X.begin() + (I + H)));
      double Q1, Q2, Q3;
      Window.Quartiles(0, 0, Q1, Q2, Q3);
      const double Got = Dst.GetVal(I);
      EXPECT_TRUE(Got == Q2 || (std::isnan(Got) && std::isnan(Q2))) << "w = " << W << ", centre " << I;
    }
  }
}

TEST(MovingKernelFilter, CorrelationWithRepeatedEdges) {
  TVector Src, Dst, Kernel;
  FillValues(Src, Signal);
  // np.correlate(np.pad(r, (K div 2, K - 1 - K div 2), 'edge'), k, 'valid'),
  // r the range (exact: the values are dyadic).
  FillValues(Kernel, {1, 2, -1});
  MovingKernelFilter(&Src, 0, 99, &Dst, &Kernel);
  EXPECT_EQ(Values(Dst), (std::vector<double>{2, 7, 3, 16, 1, 11, 14, 18, 1, 1, 21, 11}));
  // An even kernel takes one element more after the centre; the range 3..10
  // lands at element 1 and DestVec gets the source's 12 elements.
  FillValues(Kernel, {0.5, -1, 2, 0.25});
  FillValues(Dst, std::vector<double>(20, -1.0));
  MovingKernelFilter(&Src, 10, 3, &Dst, &Kernel);
  EXPECT_EQ(Values(Dst), (std::vector<double>{6.25, 12.75, -1.5, 20.0, 6.0, 10.0, -1.75, 14.25, -1, -1, -1, -1}));
  // The one-element kernel (1) copies the range; any vector may be another.
  FillValues(Kernel, {1});
  MovingKernelFilter(&Src, 4, 6, &Dst, &Kernel);
  EXPECT_EQ(Values(Dst), (std::vector<double>{7, 1, 8, 20, 6, 10, -1.75, 14.25, -1, -1, -1, -1}));
  FillValues(Kernel, {1, 2, -1});
  MovingKernelFilter(&Src, 1, 12, &Kernel, &Kernel);  // the kernel read before it becomes the result
  EXPECT_EQ(Values(Kernel), (std::vector<double>{2, 7, 3, 16, 1, 11, 14, 18, 1, 1, 21, 11}));

  const std::string Undefined = "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined";
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(nullptr, 1, 12, &Dst, &Kernel); }, Undefined);
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 1, 12, nullptr, &Kernel); }, Undefined);
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 1, 12, &Dst, nullptr); }, Undefined);
  FillValues(Kernel, {1, 1, 1});
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 5, 7, &Dst, &Kernel); },
                               "MovingKernelfilter: specified range for smoothing is smaller than the length of the kernel");
  EXPECT_NO_THROW(MovingKernelFilter(&Src, 5, 8, &Dst, &Kernel));
}

}  // namespace
}  // namespace orv
