// TCrossValidator: cross-validation of a model that the host builds and
// applies through events.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_dstruct.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

TCrossValidator::TCrossValidator(TComponent* AOwner)
    : TComponent(AOwner),
      FPress(new TVector(this)),
      FTPCnt(new TVector(this)),
      FFPCnt(new TVector(this)),
      FTNCnt(new TVector(this)),
      FFNCnt(new TVector(this)),
      FOwnXMat(std::make_unique<TMatrix>(nullptr)),
      FOwnYMat(std::make_unique<TMatrix>(nullptr)) {
  FXMat = FOwnXMat.get();
  FYMat = FOwnYMat.get();
}

// The vectors go with the component as their owner.
TCrossValidator::~TCrossValidator() = default;

std::string TCrossValidator::ClassName() const { return "TCrossValidator"; }

void TCrossValidator::VoidResults() {
  FRunRows = -1;
  for (TVector* V : {FPress, FTPCnt, FFPCnt, FTNCnt, FFNCnt}) V->Fill(-1);
}

void TCrossValidator::SetSizeTestSet(int32_t N) {
  FTestSize = N <= 0 ? 1 : N;
  VoidResults();
}

namespace {

int32_t PercentDone(int64_t Counter, int32_t N) {
  return N > 0 ? RoundInt(static_cast<double>(Counter) / N * 100) : 0;
}

// IsExecuting is false again and the results void however Execute is left.
struct TRunFlag {
  bool& Flag;
  explicit TRunFlag(bool& F) : Flag(F) { Flag = true; }
  ~TRunFlag() { Flag = false; }
  TRunFlag(const TRunFlag&) = delete;
  TRunFlag& operator=(const TRunFlag&) = delete;
};

}  // namespace

bool TCrossValidator::Execute() {
  if (FXMat == nullptr || FYMat == nullptr) throw EORVStatisError("TCrossValidator.Execute: data matrix not assigned");
  if (FXMat->NrOfRows() != FYMat->NrOfRows())
    throw EORVStatisError("TCrossValidator.Execute: number of rows of XMat and YMat not equal");
  if (!OnModelApplyRequest) throw EORVStatisError("TCrossValidator: OnModelApplyRequest event is not assigned");
  if (!OnModelCreateRequest) throw EORVStatisError("TCrossValidator: OnModelCreateRequest event is not assigned");

  // The matrices of this run, whatever a handler assigns meanwhile; cells are
  // read through GetVal, so a handler may move their storage. One that
  // resizes either ends the run (the rows drawn no longer hold): false.
  const TMatrix* X = FXMat;
  const TMatrix* Y = FYMat;
  const detail::TStorageGuard Sizes(detail::ShapeOf(*X), detail::ShapeOf(*Y));
  const int32_t N = X->NrOfRows();
  const int32_t NX = X->NrOfColumns(), NY = Y->NrOfColumns();
  if (FTestSize > N / 2 + 1) FTestSize = N / 2 + 1;

  FRunRows = -1;
  TBitFld Used;  // members 1..N: rows tested or under test
  Used.SetSize(N);
  TDoubleArray Predictors(detail::Ix(NX)), Response(detail::Ix(NY));
  TIntArray TestRows, TrainRows;
  TrainRows.reserve(detail::Ix(N));
  TDoubleArray Press(detail::Ix(NY), 0.0);
  std::vector<int64_t> Tp(detail::Ix(NY), 0), Fp(detail::Ix(NY), 0), Tn(detail::Ix(NY), 0), Fn(detail::Ix(NY), 0);
  for (TVector* V : {FPress, FTPCnt, FFPCnt, FTNCnt, FFNCnt}) {
    V->Resize(std::max(NY, 1));
    V->Fill(0);
  }

  TRunFlag Running(FIsRunning);
  int64_t Counter = 0, UsedCount = 0;
  int32_t Failures = 0;
  bool Abort = false;
  do {
    TestRows.clear();
    if (FTestSize >= N - UsedCount) {
      for (int32_t r = 1; r <= N; ++r)
        if (!Used.GetBit(r)) {
          Used.SetBit(r, true);
          TestRows.push_back(r);
        }
      UsedCount = N;
    } else {
      // Linear probing from a uniform row: the rows after a run of tested
      // rows are drawn more often, as the method has always done.
      for (int32_t k = 0; k < FTestSize; ++k) {
        int32_t r = Random(N) + 1;
        while (Used.GetBit(r)) r = r == N ? 1 : r + 1;
        Used.SetBit(r, true);
        TestRows.push_back(r);
      }
      UsedCount += FTestSize;
      std::sort(TestRows.begin(), TestRows.end());
    }
    TrainRows.clear();
    auto NextTest = TestRows.begin();
    for (int32_t r = 1; r <= N; ++r) {
      if (NextTest != TestRows.end() && *NextTest == r)
        ++NextTest;
      else
        TrainRows.push_back(r);
    }

    bool Success = false;
    OnModelCreateRequest(this, PercentDone(Counter, N), TrainRows, Success);
    if (!Sizes.Intact()) {
      Abort = true;
    } else if (Success) {
      Failures = 0;
      for (int32_t Row : TestRows) {
        if (Abort) break;
        ++Counter;
        for (int32_t c = 1; c <= NX; ++c) Predictors[detail::Ix1(c)] = X->GetVal(c, Row);
        if (Response.size() != detail::Ix(NY)) Response.resize(detail::Ix(NY));
        OnModelApplyRequest(this, PercentDone(Counter, N), Predictors, Response);
        if (!Sizes.Intact()) {
          Abort = true;
          break;
        }
        if (Response.size() < detail::Ix(NY))
          throw EORVStatisError(
              "TCrossValidator.Execute: OnModelApplyRequest returned fewer responses than YMat has columns");
        for (int32_t j = 1; j <= NY; ++j) {
          const double y = Y->GetVal(j, Row), p = Response[detail::Ix1(j)];
          const auto J = detail::Ix1(j);
          Press[J] += (p - y) * (p - y);
          const bool Wrong = std::fabs(p - y) >= 0.5;
          if (y != 1)
            ++(Wrong ? Fp : Tn)[J];
          else
            ++(Wrong ? Fn : Tp)[J];
        }
        if (OnCheckAbort) OnCheckAbort(this, Abort);
        Abort = Abort || !Sizes.Intact();
      }
    } else {
      // The rows return to the pool. A model that can never be built would
      // keep the run drawing forever: n failures in a row end it.
      for (int32_t Row : TestRows) Used.SetBit(Row, false);
      UsedCount -= static_cast<int64_t>(TestRows.size());
      if (OnCheckAbort) OnCheckAbort(this, Abort);
      if (++Failures >= std::max(N, 1) || !Sizes.Intact()) Abort = true;
    }
  } while (UsedCount < N && !Abort);

  if (Abort) {
    VoidResults();
    return false;
  }
  for (int32_t j = 1; j <= NY; ++j) {
    const auto J = detail::Ix1(j);
    FPress->SetVal(j, Press[J]);
    FTPCnt->SetVal(j, static_cast<double>(Tp[J]));
    FFPCnt->SetVal(j, static_cast<double>(Fp[J]));
    FTNCnt->SetVal(j, static_cast<double>(Tn[J]));
    FFNCnt->SetVal(j, static_cast<double>(Fn[J]));
  }
  FRunRows = N;
  FRunCols = NY;
  return true;
}

bool TCrossValidator::HasResult(int32_t Ix) const { return FRunRows >= 0 && detail::InAxis(Ix, FRunCols); }

double TCrossValidator::RMSEP(int32_t Ix) const {
  if (!HasResult(Ix) || FRunRows == 0) return -1;
  return std::sqrt(FPress->GetVal(Ix) / FRunRows);
}

double TCrossValidator::TPRate(int32_t Ix) const {
  if (!HasResult(Ix)) return -1;
  const double Tp = FTPCnt->GetVal(Ix), Fn = FFNCnt->GetVal(Ix);
  return Tp + Fn == 0 ? 0 : Tp / (Tp + Fn);
}

double TCrossValidator::FPRate(int32_t Ix) const {
  if (!HasResult(Ix)) return -1;
  const double Fp = FFPCnt->GetVal(Ix), Tn = FTNCnt->GetVal(Ix);
  return Fp + Tn == 0 ? 1 : Fp / (Fp + Tn);
}

}  // namespace orv
