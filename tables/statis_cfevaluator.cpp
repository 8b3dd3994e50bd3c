// TCFEvaluator: confusion matrix, scores, ROC curve and best thresholds of a
// binary classifier.
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/combsort.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_openarrays.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

struct TCFEvaluator::TCounts {
  int64_t Tp, Fp, Tn, Fn;
};

namespace {

constexpr std::string_view NoMemory = "not enough memory on heap";

double Ratio(int64_t Num, int64_t Den) {
  return Den > 0 ? static_cast<double>(Num) / static_cast<double>(Den) : 0.0;
}

// NaN estimates form one block of the ROC curve: their order is arbitrary.
bool SameEstimate(double A, double B) { return A == B || (A != A && B != B); }

}  // namespace

TCFEvaluator::TCFEvaluator(TComponent* AOwner) : TComponent(AOwner), FTrueVec(1, 0.0), FEstVec(1, 0.0) {}

TCFEvaluator::~TCFEvaluator() = default;

std::string TCFEvaluator::ClassName() const { return "TCFEvaluator"; }

// ---- data ----

namespace {

double ReadCell(const TDoubleArray& A, int32_t Ix) {
  return Ix >= 1 && Ix <= static_cast<int64_t>(A.size()) ? A[detail::Ix1(Ix)] : 0.0;
}

bool WriteCell(TDoubleArray& A, int32_t Ix, double Value) {
  if (Ix < 1 || Ix > static_cast<int64_t>(A.size())) return false;
  A[detail::Ix1(Ix)] = Value;
  return true;
}

}  // namespace

double TCFEvaluator::TrueData(int32_t Ix) const { return ReadCell(FTrueVec, Ix); }

void TCFEvaluator::SetTrueData(int32_t Ix, double Value) {
  if (WriteCell(FTrueVec, Ix, Value)) FDichoStale = true;
}

double TCFEvaluator::EstimData(int32_t Ix) const { return ReadCell(FEstVec, Ix); }

void TCFEvaluator::SetEstimData(int32_t Ix, double Value) {
  if (WriteCell(FEstVec, Ix, Value)) FIsSorted = false;
}

int32_t TCFEvaluator::NData() const {
  return FTrueVec.size() == FEstVec.size() ? static_cast<int32_t>(FTrueVec.size()) : -1;
}

void TCFEvaluator::SetNData(int32_t N) {
  if (N <= 0) return;
  // The dichotomy stays that of the cells before the change.
  RefreshDicho();
  detail::GuardAlloc<EORVStatisError>(*this, NoMemory, [&] {
    // Both reservations first: a failure leaves both arrays as they were.
    FTrueVec.reserve(detail::Ix(N));
    FEstVec.reserve(detail::Ix(N));
  });
  FTrueVec.resize(detail::Ix(N), 0.0);
  FEstVec.resize(detail::Ix(N), 0.0);
}

void TCFEvaluator::RefreshDicho() const {
  if (!FDichoStale) return;
  FIsDicho = IsDichotomous(FTrueVec, FDichoV1, FDichoV2);
  FDichoStale = false;
}

bool TCFEvaluator::Dicho() const {
  RefreshDicho();
  return FIsDicho;
}

double TCFEvaluator::DichoV1() const {
  RefreshDicho();
  return FDichoV1;
}

double TCFEvaluator::DichoV2() const {
  RefreshDicho();
  return FDichoV2;
}

// A true value above this is positive. The midpoint (V1 + V2) / 2, except
// where it is no double between the two: halved before adding where the sum
// overflows, 0 between the infinities, V1 where V2 directly follows V1 (the
// sum would round onto V2 and leave no positive).
double TCFEvaluator::PositiveAbove() const {
  const double V1 = DichoV1(), V2 = DichoV2();
  double Mid = (V1 + V2) / 2;
  if (!std::isfinite(Mid)) Mid = V1 / 2 + V2 / 2;
  if (std::isnan(Mid)) Mid = 0;
  if (!(Mid < V2)) Mid = V1;
  return Mid;
}

// Column Col of SrcMat into A; false for a bad column or no matrix.
bool TCFEvaluator::CopyColumn(int32_t Col, const TMatrix* SrcMat, TDoubleArray& A) {
  if (SrcMat == nullptr || !detail::InAxis(Col, SrcMat->NrOfColumns())) return false;
  const auto& Src = SrcMat->Mat[detail::Ix1(Col)];
  A = detail::GuardAlloc<EORVStatisError>(
      *this, NoMemory, [&] { return TDoubleArray(Src.begin(), Src.begin() + SrcMat->NrOfRows()); });
  FIsSorted = false;
  return true;
}

int32_t TCFEvaluator::CopyTrueFromMatrix(int32_t Col, const TMatrix* SrcMat) {
  if (!CopyColumn(Col, SrcMat, FTrueVec)) return -1;
  FDichoStale = true;
  return Dicho() ? 0 : -2;
}

int32_t TCFEvaluator::CopyEstFromMatrix(int32_t Col, const TMatrix* SrcMat) {
  return CopyColumn(Col, SrcMat, FEstVec) ? 0 : -1;
}

bool TCFEvaluator::GetActualDichoValues(double& V1, double& V2) const { return IsDichotomous(FTrueVec, V1, V2); }

// ---- sorting and counting ----

// Comb sort by descending estimate (NaN last), the true values moving along,
// with the first gap Trunc((n - 1) / 1.3).
int32_t TCFEvaluator::SortEstimated() {
  if (FTrueVec.size() != FEstVec.size()) return -1;
  if (FIsSorted) return 0;
  // The dichotomy read from the cells as they stand before the reordering.
  RefreshDicho();
  const int64_t N = static_cast<int64_t>(FEstVec.size());
  // Each pair side by side while it moves: one cache line per element
  // touched instead of two.
  struct TPair {
    double Est, Truth;
  };
  std::vector<TPair> P = detail::GuardAlloc<EORVStatisError>(
      *this, NoMemory, [&] { return std::vector<TPair>(detail::Ix(N)); });
  for (int64_t i = 0; i < N; ++i) P[detail::Ix(i)] = {FEstVec[detail::Ix(i)], FTrueVec[detail::Ix(i)]};
  TPair* Q = P.data();
  detail::CombSortByKey(
      int64_t{0}, N - 1, N - 1, false, [Q](int64_t I) { return Q[I].Est; },
      [Q](int64_t I, int64_t J) { std::swap(Q[I], Q[J]); }, detail::CombNoReport);
  for (int64_t i = 0; i < N; ++i) {
    FEstVec[detail::Ix(i)] = P[detail::Ix(i)].Est;
    FTrueVec[detail::Ix(i)] = P[detail::Ix(i)].Truth;
  }
  FIsSorted = true;
  return 0;
}

namespace {

// The confusion matrix of every pair at threshold H, Mid the class boundary.
void CountPairs(const TDoubleArray& Truth, const TDoubleArray& Est, double Mid, double H, int64_t& Tp, int64_t& Fp,
                int64_t& Tn, int64_t& Fn) {
  int64_t tp = 0, fp = 0, tn = 0, fn = 0;
  for (std::size_t i = 0; i < Truth.size(); ++i) {
    const bool Pos = Truth[i] > Mid, Pred = Est[i] - H >= 0;
    tp += Pos && Pred;
    fn += Pos && !Pred;
    fp += !Pos && Pred;
    tn += !Pos && !Pred;
  }
  Tp = tp, Fp = fp, Tn = tn, Fn = fn;
}

}  // namespace

int32_t TCFEvaluator::CalcConfusionMatrix(double CFThresh) {
  if (!Dicho()) return -2;
  if (FTrueVec.size() != FEstVec.size()) return -1;
  FCFThresh = CFThresh;
  SortEstimated();
  CountPairs(FTrueVec, FEstVec, PositiveAbove(), CFThresh, Ftp, Ffp, Ftn, Ffn);
  return 0;
}

int32_t TCFEvaluator::GetConfMatValues(int64_t& Tp, int64_t& Fp, int64_t& Tn, int64_t& Fn, double& Thresh) const {
  if (!Dicho()) return -2;
  if (!FIsSorted) return -1;
  Tp = Ftp, Fp = Ffp, Tn = Ftn, Fn = Ffn;
  Thresh = FCFThresh;
  return 0;
}

// ---- scores ----

double TCFEvaluator::Score(double (*Formula)(const TCounts&), double NotSorted, double NotDicho) const {
  if (!Dicho()) return NotDicho;
  if (!FIsSorted) return NotSorted;
  return Formula(TCounts{Ftp, Ffp, Ftn, Ffn});
}

namespace {

// The formulas over a confusion matrix, shared by the scores and the
// threshold scan so that both give the same bits.
struct TFormulas {
  template <class C>
  static double TpRate(const C& c) { return Ratio(c.Tp, c.Tp + c.Fn); }
  template <class C>
  static double FnRate(const C& c) { return Ratio(c.Fn, c.Tp + c.Fn); }
  template <class C>
  static double TnRate(const C& c) { return Ratio(c.Tn, c.Tn + c.Fp); }
  template <class C>
  static double FpRate(const C& c) { return Ratio(c.Fp, c.Tn + c.Fp); }
  template <class C>
  static double Precision(const C& c) { return Ratio(c.Tp, c.Tp + c.Fp); }
  template <class C>
  static double NegPredVal(const C& c) { return Ratio(c.Tn, c.Tn + c.Fn); }
  template <class C>
  static double ThreatScore(const C& c) { return Ratio(c.Tp, c.Tp + c.Fn + c.Fp); }
  template <class C>
  static double Accuracy(const C& c) { return Ratio(c.Tp + c.Tn, c.Tp + c.Tn + c.Fp + c.Fn); }
  template <class C>
  static double F1Score(const C& c) { return Ratio(2 * c.Tp, 2 * c.Tp + c.Fn + c.Fp); }
  template <class C>
  static double UncertCoeff(const C& c) {
    const double N = static_cast<double>(c.Tp + c.Tn + c.Fp + c.Fn);
    auto h = [N](int64_t k) {
      if (k <= 0) return 0.0;
      const double p = static_cast<double>(k) / N;
      return -p * std::log(p);
    };
    const double Hp = h(c.Tp + c.Fp) + h(c.Fn + c.Tn);
    const double Ht = h(c.Tp + c.Fn) + h(c.Fp + c.Tn);
    const double Hj = h(c.Tp) + h(c.Tn) + h(c.Fp) + h(c.Fn);
    return 2 * (Hp + Ht - Hj) / (Hp + Ht + 1e-15);
  }
  template <class C>
  static double Informedness(const C& c) {
    const double Sens = c.Tp + c.Fn >= 1 ? static_cast<double>(c.Tp) / static_cast<double>(c.Tp + c.Fn) : 0.0;
    const double Spec = c.Tn + c.Fp >= 1 ? static_cast<double>(c.Tn) / static_cast<double>(c.Tn + c.Fp) : 0.0;
    return Sens + Spec - 1;
  }
  template <class C>
  static double MatthewsCorr(const C& c) {
    // Counts are never negative, so the factors are unsigned.
    const auto A = static_cast<uint64_t>(c.Tp + c.Fp), B = static_cast<uint64_t>(c.Tp + c.Fn),
               D = static_cast<uint64_t>(c.Tn + c.Fp), E = static_cast<uint64_t>(c.Tn + c.Fn);
    // ((A B) D) E exactly while it fits in 64 bits (the bits of the plain
    // formula), else in double: from about 55000 objects per factor on the
    // signed 64-bit product wraps.
    uint64_t P = 0;
    double Prod;
    if (!__builtin_mul_overflow(A, B, &P) && !__builtin_mul_overflow(P, D, &P) && !__builtin_mul_overflow(P, E, &P))
      Prod = static_cast<double>(P);
    else
      Prod = static_cast<double>(A) * static_cast<double>(B) * static_cast<double>(D) * static_cast<double>(E);
    const double Root = std::sqrt(Prod);
    if (!(Root > 0)) return 0;
    // Each count is below 2^31, so the products below stay within 2^62.
    return static_cast<double>(c.Tp * c.Tn - c.Fp * c.Fn) / Root;
  }
};

}  // namespace

double TCFEvaluator::TpRate() const { return Score(TFormulas::TpRate<TCounts>, -1, -2); }
double TCFEvaluator::FnRate() const { return Score(TFormulas::FnRate<TCounts>, -1, -2); }
double TCFEvaluator::TnRate() const { return Score(TFormulas::TnRate<TCounts>, -1, -2); }
double TCFEvaluator::FpRate() const { return Score(TFormulas::FpRate<TCounts>, -1, -2); }
double TCFEvaluator::Precision() const { return Score(TFormulas::Precision<TCounts>, -1, -2); }
double TCFEvaluator::NegPredVal() const { return Score(TFormulas::NegPredVal<TCounts>, -1, -2); }
double TCFEvaluator::ThreatScore() const { return Score(TFormulas::ThreatScore<TCounts>, -1, -2); }
double TCFEvaluator::Accuracy() const { return Score(TFormulas::Accuracy<TCounts>, -1, -2); }
double TCFEvaluator::F1Score() const { return Score(TFormulas::F1Score<TCounts>, -1, -2); }
double TCFEvaluator::UncertCoeff() const { return Score(TFormulas::UncertCoeff<TCounts>, -1, -2); }
double TCFEvaluator::Informedness() const { return Score(TFormulas::Informedness<TCounts>, -2, -3); }
double TCFEvaluator::MatthewsCorr() const { return Score(TFormulas::MatthewsCorr<TCounts>, -3, -2); }

// ---- ROC curve and best thresholds ----

namespace {

// One score's best threshold: a larger score takes h and starts a run, an
// equal one joins the run and takes its mean, a smaller one ends the run
// (a later equal score starts a new one). The mean is the running sum over
// the count; where that sum overflows (thresholds near +-1e307), the same
// sum of the thresholds scaled by 2^-64, exact for every normal one, gives
// it instead, so the bits change only where the plain sum had failed.
struct TBestThreshold {
  static constexpr double Down = 0x1p-64, Up = 0x1p64;
  double Best = 0, Sum = 0, Scaled = 0, Thresh;
  int64_t Count = 0;
  explicit TBestThreshold(double Start) : Thresh(Start) {}
  void Take(double Score, double H) {
    if (Score > Best) {
      Best = Score;
      Thresh = H;
      Sum = H;
      Scaled = H * Down;
      Count = 1;
    } else if (Score < Best) {
      Sum = 0;
      Scaled = 0;
      Count = 0;
    } else {
      Sum += H;
      Scaled += H * Down;
      ++Count;
      const double N = static_cast<double>(Count);
      Thresh = std::isfinite(Sum) || !std::isfinite(Scaled) ? Sum / N : Scaled / N * Up;
    }
  }
};

}  // namespace

int32_t TCFEvaluator::OptimizeThresholds(TDouble2DArray& ROCCoords, int32_t& BestROC, double& AUC, double& ThreshMMC,
                                         double& ThreshAccuracy, double& ThreshInformedness) {
  const int32_t Sorted = SortEstimated();
  int32_t Res = Dicho() ? 0 : -1;
  if (Sorted < 0) Res = -3;
  if (Res != 0) return Res;

  const double Mid = PositiveAbove();
  const TDoubleArray& T = FTrueVec;
  const TDoubleArray& E = FEstVec;
  const int64_t N = static_cast<int64_t>(E.size());
  int64_t P = 0;
  for (double t : T) P += t > Mid;
  const int64_t Q = N - P;
  if (P == 0 || Q == 0) return -2;
  const double Pd = static_cast<double>(P), Qd = static_cast<double>(Q);

  // The walk in sorted order, one block of equal estimates at a time, so that
  // neither the points nor the area depend on the order within a tie.
  TDouble2DArray Roc = detail::GuardAlloc<EORVStatisError>(*this, NoMemory, [&] {
    TDouble2DArray R(3);
    for (auto& Col : R) Col.reserve(detail::Ix(N + 1));
    return R;
  });
  double Recorded = -uc_MaxDouble;
  int64_t Tpc = 0, Fpc = 0, TpcBefore = 0, FpcBefore = 0;
  double Area = 0, BestDist = 0;
  int32_t Best = 0, K = 0;
  for (int64_t i = 0; i < N;) {
    const double e = E[detail::Ix(i)];
    for (; i < N && SameEstimate(E[detail::Ix(i)], e); ++i) {
      if (T[detail::Ix(i)] > Mid)
        ++Tpc;
      else
        ++Fpc;
    }
    if (!SameEstimate(e, Recorded)) {
      const double X = static_cast<double>(Fpc) / Qd, Y = static_cast<double>(Tpc) / Pd;
      Roc[0].push_back(X);
      Roc[1].push_back(Y);
      Roc[2].push_back(e);
      ++K;
      Recorded = e;
      const double Dist = std::fabs(X - Y);
      if (Dist > BestDist) {
        BestDist = Dist;
        Best = K - 1;
      }
    }
    Area += static_cast<double>((Fpc - FpcBefore) * (Tpc + TpcBefore)) / 2 / Qd / Pd;
    TpcBefore = Tpc;
    FpcBefore = Fpc;
  }
  Roc[0].push_back(1);
  Roc[1].push_back(1);
  Roc[2].push_back(E[detail::Ix(N - 1)]);

  // The threshold scan. Thresholds only grow, and on sorted pairs the
  // positive predictions are a leading run (E - h >= 0 falls with E and
  // fails for NaN), so one pointer walks back over the pairs as h grows.
  double Min = 0, Max = 0;
  MinMaxArray(E, Min, Max);
  double Step = (Max - Min) * 0.01;
  if (std::isinf(Step) && std::isfinite(Min) && std::isfinite(Max)) Step = Max * 0.01 - Min * 0.01;
  bool Ordered = true;
  for (int64_t i = 1; i < N && Ordered; ++i)
    Ordered = !detail::SortsAfterDescending(E[detail::Ix(i - 1)], E[detail::Ix(i)]);
  TBestThreshold Mcc(Min), Acc(Min), Inf(Min);
  TCounts C{P, Q, 0, 0};
  int64_t Lead = N;  // pairs predicted positive at the last threshold
  bool Visited = false;
  double H = Min - 5 * Step, LastH = H;
  const double End = Max + 5 * Step;
  while (H < End) {
    if (Ordered) {
      for (; Lead > 0 && !(E[detail::Ix(Lead - 1)] - H >= 0); --Lead) {
        if (T[detail::Ix(Lead - 1)] > Mid) {
          --C.Tp;
          ++C.Fn;
        } else {
          --C.Fp;
          ++C.Tn;
        }
      }
    } else {
      CountPairs(T, E, Mid, H, C.Tp, C.Fp, C.Tn, C.Fn);
    }
    Mcc.Take(TFormulas::MatthewsCorr(C), H);
    Acc.Take(TFormulas::Accuracy(C), H);
    Inf.Take(TFormulas::Informedness(C), H);
    Visited = true;
    LastH = H;
    // A step below the spacing of doubles at h would leave h where it is.
    double Next = H + Step;
    if (!(Next > H)) Next = std::nextafter(H, std::numeric_limits<double>::infinity());
    H = Next;
  }

  ROCCoords = std::move(Roc);
  BestROC = Best;
  AUC = Area;
  ThreshMMC = Mcc.Thresh;
  ThreshAccuracy = Acc.Thresh;
  ThreshInformedness = Inf.Thresh;
  if (Visited) {
    FCFThresh = LastH;
    Ftp = C.Tp, Ffp = C.Fp, Ftn = C.Tn, Ffn = C.Fn;
  }
  return 0;
}

}  // namespace orv
