// Eigenvalues and eigenvectors by the cyclic Jacobi method, the unit's eigen
// results, principal components.
// Thresholds and rotation formulas: Rutishauser, "The Jacobi method for real
// symmetric matrices", Numer. Math. 9(1), 1966.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "analysis/math2_jacobi.h"
#include "core/simd.h"
#include "orvcalckit/ORV_math2.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// The eigen results: Values[p] is eigenvalue p + 1, Vectors[k * n + p]
// component k + 1 of eigenvector p + 1 (n = Values.size()). Size is the N of
// the last CalcEigVec and outlives the arrays.
struct TEigenResults {
  int32_t Size = 0;
  TDoubleArray Values;
  TDoubleArray Vectors;
};

constinit TEigenResults Eigen;

void ReleaseEigenArrays() {
  TDoubleArray().swap(Eigen.Values);
  TDoubleArray().swap(Eigen.Vectors);
}

// The cells of a TMatrix through its element access, one by one in the fixed
// order of the method, so that OnChange sees every write as it happens.
class TMatrixCellStore {
 public:
  TMatrixCellStore(TMatrix& M, int64_t N) : FM(M), FN(N) {}

  double OffSum() const {
    double Sm = 0.0;
    for (int64_t R = 0; R + 1 < FN; ++R)
      for (int64_t C = R + 1; C < FN; ++C) Sm += std::fabs(Get(C, R));
    return Sm;
  }
  double Pivot(int64_t P, int64_t Q) const { return Get(Q, P); }
  void ZeroPivot(int64_t P, int64_t Q) { Set(Q, P, 0.0); }
  void Skip(int64_t, int64_t) {}
  void Rotate(int64_t P, int64_t Q, double S, double Tau) {
    for (int64_t J = 0; J < P; ++J) Pair(P, J, Q, J, S, Tau);
    for (int64_t J = P + 1; J < Q; ++J) Pair(J, P, Q, J, S, Tau);
    for (int64_t J = Q + 1; J < FN; ++J) Pair(J, P, J, Q, S, Tau);
  }
  void Complete() {}
  void EndLine(int64_t) {}

 private:
  // Cell (column c, row r), 0-based.
  double Get(int64_t C, int64_t R) const {
    return FM.GetVal(static_cast<int32_t>(C + 1), static_cast<int32_t>(R + 1));
  }
  void Set(int64_t C, int64_t R, double V) {
    FM.SetVal(static_cast<int32_t>(C + 1), static_cast<int32_t>(R + 1), V);
  }
  void Pair(int64_t C1, int64_t R1, int64_t C2, int64_t R2, double S, double Tau) {
    double G = Get(C1, R1);
    double H = Get(C2, R2);
    detail::RotatePairRule(G, H, S, Tau);
    Set(C1, R1, G);
    Set(C2, R2, H);
  }

  TMatrix& FM;
  int64_t FN;
};

template <int Bytes>
ORV_SIMD_INLINE bool JacobiDenseLanes(double* W, int64_t N, int64_t LD, double* D, double* VT) {
  detail::TDenseSymStore<Bytes> Store(W, N, LD);
  return detail::CyclicJacobi<Bytes>(Store, N, D, VT, LD);
}
ORV_SIMD_BY_WIDTH(bool, JacobiDense, (double* W, int64_t N, int64_t LD, double* D, double* VT), (W, N, LD, D, VT))

// Baseline code: vectors of 16 bytes.
bool JacobiCells(TMatrix& M, int64_t N, double* D, double* VT) {
  TMatrixCellStore Store(M, N);
  return detail::CyclicJacobi<16>(Store, N, D, VT, N);
}

// Working arrays of the method on a copy: rows start on cache lines and are
// padded to whole vectors.
struct TAlignedFree {
  void operator()(double* P) const { ::operator delete[](P, std::align_val_t{64}); }
};
using TAlignedArray = std::unique_ptr<double[], TAlignedFree>;

TAlignedArray AllocAligned(int64_t Count) {
  return TAlignedArray(static_cast<double*>(
      ::operator new[](Ix(Count) * sizeof(double), std::align_val_t{64}, std::nothrow)));
}

// Without an OnChange handler nothing can watch the cell writes, so the
// method runs on a dense copy of the matrix, the rotated upper triangle is
// written back at the end, and the eigenvectors go to Vectors as columns.
// Returns false when there is no memory for the copy (the caller then works
// on the cells).
bool JacobiOnCopy(TMatrix& M, int64_t N, double* D, double* Vectors, bool& Result) {
  const int64_t LD = (N + 7) / 8 * 8;
  TAlignedArray W = AllocAligned(N * LD);
  TAlignedArray VT = AllocAligned(N * LD);
  if (!W || !VT) return false;
  std::fill_n(W.get(), N * LD, 0.0);
  for (int64_t C = 0; C < N; ++C) {
    const double* Col = M.Mat[Ix(C)].data();
    for (int64_t R = 0; R < C; ++R) {
      W[R * LD + C] = Col[R];
      W[C * LD + R] = Col[R];
    }
    D[C] = Col[C];
  }
  Result = JacobiDense(W.get(), N, LD, D, VT.get());
  // MathFeedBackProc may have resized the matrix meanwhile.
  const int64_t NC = std::min<int64_t>(N, M.NrOfColumns());
  const int64_t NR = M.NrOfRows();
  for (int64_t C = 0; C < NC; ++C) {
    double* Col = M.Mat[Ix(C)].data();
    for (int64_t R = 0; R < std::min(C, NR); ++R) Col[R] = W[R * LD + C];
  }
  for (int64_t P = 0; P < N; ++P)
    for (int64_t K = 0; K < N; ++K) Vectors[K * N + P] = VT[P * LD + K];
  return true;
}

}  // namespace

bool CalcEigVec(TMatrix* SymMat) {
  if (SymMat == nullptr) return false;
  const int32_t N = SymMat->NrOfColumns();
  if (N > MaxEigenSize) return false;
  Eigen.Size = N;
  ReleaseEigenArrays();
  const auto N64 = static_cast<int64_t>(N);
  TDoubleArray Values, Vectors;
  GuardAllocation(
      [&] {
        Values.resize(Ix(N64));
        Vectors.resize(Ix(N64 * N64));
      },
      [] { return EORVMath2Error("CalcEigVec: not enough memory"); });
  bool Result = false;
  const bool Copied = !SymMat->OnChange && SymMat->NrOfRows() >= N &&
                      JacobiOnCopy(*SymMat, N64, Values.data(), Vectors.data(), Result);
  if (!Copied) {
    for (int32_t P = 0; P < N; ++P) Values[Ix(P)] = SymMat->GetVal(P + 1, P + 1);
    Result = JacobiCells(*SymMat, N64, Values.data(), Vectors.data());
    // The method leaves eigenvector p in row p; the results keep it in column p.
    for (int64_t R = 0; R < N64; ++R)
      for (int64_t C = R + 1; C < N64; ++C)
        std::swap(Vectors[Ix(R * N64 + C)], Vectors[Ix(C * N64 + R)]);
  }
  Eigen.Values = std::move(Values);
  Eigen.Vectors = std::move(Vectors);
  return Result;
}

double GetEigenResult(int32_t i, int32_t j) {
  const auto N = static_cast<int64_t>(Eigen.Values.size());
  if (N == 0 || i < 1 || i > N || j < 0 || j > N) return 0.0;
  if (j == 0) return Eigen.Values[Ix1(i)];
  return Eigen.Vectors[Ix((j - 1) * N + (i - 1))];
}

int32_t GetEigenSize() { return Eigen.Size; }

void RemoveEigenMatrix() { ReleaseEigenArrays(); }

bool CalcPrincComp(const TMatrix* Data, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                   int32_t Scaling, bool Normalize) {
  if (Data == nullptr) return false;
  const int64_t M =
      LoCol == 0 && HiCol == 0 ? Data->NrOfColumns() : static_cast<int64_t>(HiCol) - LoCol + 1;
  // More columns than CalcEigVec takes: no covariance matrix worth building.
  if (M > MaxEigenSize) return false;
  {
    TMatrix Covar(nullptr);
    Covar.Resize(static_cast<int32_t>(std::max<int64_t>(M, 0)), static_cast<int32_t>(std::max<int64_t>(M, 0)));
    if (!CalcCovar(Data, &Covar, LoCol, HiCol, LoRow, HiRow, Scaling) || !CalcEigVec(&Covar)) return false;
  }
  TDoubleArray& Values = Eigen.Values;
  TDoubleArray& Vectors = Eigen.Vectors;
  const auto N = static_cast<int64_t>(Values.size());
  if (Normalize) {
    double Sum = 0.0;
    for (double V : Values) Sum += std::fabs(V);
    if (Sum != 0.0)
      for (double& V : Values) V /= Sum;
  }
  // Selection sort: the largest value above 0 of positions k.. comes to k.
  for (int64_t K = 0; K < N; ++K) {
    int64_t Best = K;
    double Max = 0.0;
    for (int64_t I = K; I < N; ++I)
      if (Values[Ix(I)] > Max) {
        Max = Values[Ix(I)];
        Best = I;
      }
    if (Best == K) continue;
    std::swap(Values[Ix(K)], Values[Ix(Best)]);
    for (int64_t R = 0; R < N; ++R)
      std::swap(Vectors[Ix(R * N + K)], Vectors[Ix(R * N + Best)]);
  }
  return true;
}

bool CalcPrincComp(const TMatrix* Data, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                   int32_t Scaling) {
  return CalcPrincComp(Data, LoCol, HiCol, LoRow, HiRow, Scaling, true);
}

}  // namespace orv
