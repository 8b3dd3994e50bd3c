// Host code that resizes, empties or moves what a routine of ORV_vector or
// ORV_matrix works on, from the routine's own events and from
// MathFeedBackProc, on its first, second and a middle call (support/hostile.h).
// Threaded paths: linalg_hostile_threads_test.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/hostile.h"
#include "support/tempfiles.h"

namespace orv {
namespace {

using namespace test::hostile_names;
using test::Values;

// Cell (c, r) := a value that names it and is no zero.
template <class M>
void Fill(M& X, int32_t NC, int32_t NR) {
  X.Resize(NC, NR);
  for (int32_t C = 1; C <= NC; ++C)
    for (int32_t R = 1; R <= NR; ++R) X.SetVal(C, R, static_cast<decltype(X.GetVal(1, 1))>((7 * C + 3 * R) % 11 + 1));
}

// Ref's cells inside NC x NR, zeros around: what a result written cell by
// cell through SetVal leaves in a matrix its handler resized.
std::vector<double> CutTo(const TMatrix& Ref, int32_t NC, int32_t NR) {
  TMatrix X(nullptr);
  X.Resize(NC, NR);
  X.CopyFrom(&Ref, 1, 1, Ref.NrOfColumns(), Ref.NrOfRows(), 1, 1);
  return Cells(X);
}

// A copy routine run again, undisturbed, on what it left changes nothing
// more when it wrote through SetVal to the end: that is its Now.
std::vector<double> VectorCopiedAgain(const TVector& X, const TDoubleArray& Src) {
  TVector W(nullptr);
  test::FillValues(W, Values(X));
  W.CopyFromArray(Src, 1);
  return Outcome(Values(W));
}

void Ramp3D(TMat3D& A) {
  A.Resize(6, 5, 4);
  for (int32_t C = 1; C <= 6; ++C)
    for (int32_t R = 1; R <= 5; ++R)
      for (int32_t L = 1; L <= 4; ++L) A.SetVal(C, R, L, 100.0 * C + 10 * R + L);
}

// A block file of 1 x 1 layers of 16 x 16 values, value k = k.
std::string LayerFile(const test::TempDir& D) {
  std::string B(4096, '\0');
  const int32_t Head[4] = {16, 16, 1, 1}, Format = 1;
  std::memcpy(B.data(), Head, sizeof Head);
  std::memcpy(&B[272], &Format, 4);
  for (int32_t K = 0; K < 256; ++K) {
    const double V = K;
    B.append(reinterpret_cast<const char*>(&V), 8);
  }
  B.resize(8192, '\0');
  std::ofstream(D.File("layer.bin"), std::ios::binary) << B;
  return D.File("layer.bin");
}

// CopyFromArray of a 3 x 3 array into X, whose OnChange changes the array.
template <class A, class M>
THostileOutcome CopyArrayInto(M& X, THostile& H, int32_t Col) {
  A Src{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  X.OnChange = H.On(Src);
  X.CopyFromArray(Src, Col, 1);
  return {Cells(X)};
}

// Square on the calling thread, the handler attacking the result from its
// OnChange or from MathFeedBackProc, the source, or the matrix squared into itself.
enum class TSquareAttack { ResultByEvent, Result, Source, Itself };
THostileOutcome SquareSerial(THostile& H, TSquareAttack Attack) {
  TMatrix A(nullptr), Res(nullptr);
  Fill(A, 5, 4);
  TMatrix& Into = Attack == TSquareAttack::Itself ? A : Res;
  if (Attack == TSquareAttack::ResultByEvent)
    Res.OnChange = H.On(Res);
  else
    MathFeedBackProc = H.On(Attack == TSquareAttack::Result ? Res : A);
  const bool Ok = A.Square(&Into, 2.0, 1);
  return {Outcome(Ok, Cells(Into))};
}

// SortRows of 9 rows (or SortCols of 9 columns), OnSortExchange attacking
// the matrix; the storage kind first.
template <class M>
THostileOutcome SortLines(THostile& H, bool ByRows) {
  M X(nullptr);
  Fill(X, ByRows ? 3 : 9, ByRows ? 9 : 3);
  X.OnSortExchange = H.On(X);
  if (ByRows)
    X.SortRows(2, true, 0, 0, 0, 0);
  else
    X.SortCols(3, false, 0, 0, 0, 0);
  bool Sparse = false;
  if constexpr (std::is_same_v<M, TIntMatrix>) Sparse = X.IsSparse();
  return {Outcome(Sparse, Cells(X))};
}

// A statistic with MathFeedBackProc attacking the array X, and the same
// taken again undisturbed afterwards: its Now.
template <class A, class Stat>
THostileOutcome StatisticAndAgain(A& X, THostile& H, Stat&& Of) {
  MathFeedBackProc = H.On(X);
  const std::vector<double> Got = Of();
  MathFeedBackProc = nullptr;
  return {Got, Of()};
}

// A sort that ends early leaves another size (or storage kind, shown first).
bool SortEnded(const std::vector<double>& Got, const std::vector<double>& Undisturbed) {
  return Got.size() < 3 || Got[0] != Undisturbed[0] || Got[1] != Undisturbed[1] || Got[2] != Undisturbed[2];
}

const THostileCase VectorCases[] = {
    {"TVector::CopyFromArray, OnChange changes the source array",
     [](THostile& H) {
       TVector V(nullptr);
       V.Resize(6);
       TDoubleArray Src{1, 2, 3, 4, 5, 6, 7};
       V.OnChange = H.On(Src);
       V.CopyFromArray(Src, 1);
       return THostileOutcome{Outcome(Values(V))};
     }},
    {"TIntVector::CopyFromArray, OnChange changes the source array",
     [](THostile& H) {
       TIntVector V(nullptr);
       V.Resize(6);
       TIntArray Src{1, 2, 3, 4, 5, 6, 7};
       V.OnChange = H.On(Src);
       V.CopyFromArray(Src, 2);
       return THostileOutcome{Outcome(Values(V))};
     }},
    {"TVector::CopyFromArray, OnChange resizes the vector",
     [](THostile& H) {
       TVector V(nullptr);
       V.Resize(6);
       const TDoubleArray Src{1, 2, 3, 4, 5, 6};
       V.OnChange = H.On(V);
       V.CopyFromArray(Src, 1);
       return THostileOutcome{Outcome(Values(V)), VectorCopiedAgain(V, Src)};
     }},
    {"TVector::CopyFrom, OnChange resizes the source vector",
     [](THostile& H) {
       TVector V(nullptr), S(nullptr);
       V.Resize(6);
       test::FillValues(S, {1, 2, 3, 4, 5, 6});
       V.OnChange = H.On(S);
       V.CopyFrom(&S, 2, 5, 1);
       return THostileOutcome{Outcome(Values(V))};
     }},
    {"TVector::Clone, OnChange resizes the source vector",
     [](THostile& H) {
       TVector V(nullptr), S(nullptr);
       test::FillValues(S, {1, 2, 3, 4, 5, 6});
       V.OnChange = H.On(S);
       V.Clone(&S);
       return THostileOutcome{Outcome(Values(V))};
     },
     CheckedAccessorsOnly},
    {"TVector::SortElems, OnSortExchange resizes the vector",
     [](THostile& H) {
       TVector V(nullptr);
       test::FillValues(V, {9, 1, 8, 2, 7, 3, 6, 4, 5});
       V.OnSortExchange = H.On(V);
       V.SortElems(true, 0, 0);
       return THostileOutcome{Outcome(V.NrOfElem(), Values(V))};
     },
     [](const std::vector<double>& Got, const std::vector<double>& Undisturbed) { return Got[0] != Undisturbed[0]; }},
    {"TVector::Histogram, Histo's OnChange resizes the vector counted",
     [](THostile& H) {
       TVector V(nullptr);
       TIntVector Histo(nullptr);
       test::FillValues(V, {1, 2, 2, 3, 3, 3, 4, 4, 4, 4});
       Histo.OnChange = H.On(V);
       int32_t Under, Over, Max;
       const bool Ok = V.Histogram(1, 10, 1, 4, 1, &Histo, Under, Over, Max);
       return THostileOutcome{Outcome(Ok, Under, Over, Max, Values(Histo))};
     },
     CheckedAccessorsOnly},
    {"TVector::QNormalize, MathFeedBackProc resizes the vector",
     [](THostile& H) {
       TVector V(nullptr);
       test::FillValues(V, {5, 1, 4, 2, 8, 3, 9, 7, 6});
       TDoubleArray Left;
       MathFeedBackProc = H.On(V, [&] { Left = Values(V); });
       double Median, Diff;
       V.QNormalize(25, Median, Diff);
       return THostileOutcome{Outcome(Values(V)), {}, Left};
     }},
};

const THostileCase MatrixCases[] = {
    {"TMatrix::CopyFromArray of doubles, OnChange changes the source array",
     [](THostile& H) {
       TMatrix M(nullptr);
       M.Resize(4, 3);
       return CopyArrayInto<TDouble2DArray>(M, H, 2);
     }},
    {"TMatrix::CopyFromArray of integers, OnChange changes the source array",
     [](THostile& H) {
       TMatrix M(nullptr);
       M.Resize(4, 3);
       return CopyArrayInto<TInt2DArray>(M, H, 1);
     }},
    {"TIntMatrix::CopyFromArray, dense, OnChange changes the source array",
     [](THostile& H) {
       TIntMatrix M(nullptr);
       M.Resize(4, 3);
       return CopyArrayInto<TInt2DArray>(M, H, 1);
     }},
    {"TIntMatrix::CopyFromArray, sparse, OnChange changes the source array",
     [](THostile& H) {
       TIntMatrix M(nullptr, 4);
       return CopyArrayInto<TInt2DArray>(M, H, 1);
     }},
    {"TMatrix::CopyFromArray, OnChange resizes the matrix",
     [](THostile& H) {
       TMatrix M(nullptr);
       M.Resize(3, 3);
       const TDouble2DArray Src{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
       M.OnChange = H.On(M);
       M.CopyFromArray(Src, 1, 1);
       TMatrix Again(nullptr);
       Again.Assign(&M);
       Again.OnChange = nullptr;
       Again.CopyFromArray(Src, 1, 1);
       return THostileOutcome{Cells(M), Cells(Again)};
     }},
    {"TMatrix::SortRows, OnSortExchange resizes or moves the matrix",
     [](THostile& H) { return SortLines<TMatrix>(H, true); }, SortEnded},
    {"TMatrix::SortCols, OnSortExchange resizes or moves the matrix",
     [](THostile& H) { return SortLines<TMatrix>(H, false); }, SortEnded},
    {"TIntMatrix::SortRows, OnSortExchange resizes, moves or sparsifies the matrix",
     [](THostile& H) { return SortLines<TIntMatrix>(H, true); }, SortEnded},
    {"TIntMatrix::SortCols, OnSortExchange resizes, moves or sparsifies the matrix",
     [](THostile& H) { return SortLines<TIntMatrix>(H, false); }, SortEnded},
    {"TMatrix::Square, the result's OnChange resizes the result",
     [](THostile& H) { return SquareSerial(H, TSquareAttack::ResultByEvent); }, ResultIs(0)},
    {"TMatrix::Square, MathFeedBackProc resizes the result",
     [](THostile& H) { return SquareSerial(H, TSquareAttack::Result); }, ResultIs(0)},
    {"TMatrix::Square, MathFeedBackProc resizes the source",
     [](THostile& H) { return SquareSerial(H, TSquareAttack::Source); }, ResultIs(0)},
    {"TMatrix::Square into itself, MathFeedBackProc resizes it",
     [](THostile& H) { return SquareSerial(H, TSquareAttack::Itself); }, ResultIs(0)},
    {"TMatrix::CholeskyDecomp, MatL's OnChange resizes MatL",
     [](THostile& H) {
       TMatrix A(nullptr), L(nullptr), Ref(nullptr);
       test::FillRows(A, {{4, 2, 2}, {2, 5, 3}, {2, 3, 6}});
       TMatrix B(nullptr);
       B.Assign(&A);
       B.CholeskyDecomp(&Ref);
       L.OnChange = H.On(L);
       const bool Ok = A.CholeskyDecomp(&L);
       return THostileOutcome{Outcome(Ok, Cells(L)), Outcome(Ok, CutTo(Ref, L.NrOfColumns(), L.NrOfRows()))};
     }},
    {"TMatrix::CholeskyDecomp, MatL's OnChange resizes Self",
     [](THostile& H) {
       TMatrix A(nullptr), L(nullptr);
       test::FillRows(A, {{4, 2, 2}, {2, 5, 3}, {2, 3, 6}});
       L.OnChange = H.On(A);
       const bool Ok = A.CholeskyDecomp(&L);
       return THostileOutcome{Outcome(Ok, Cells(L))};  // the diagonal is written twice, the factor last
     }},
    {"TMatrix::CholeskyDecomp into itself, its OnChange resizes it",
     [](THostile& H) {
       TMatrix A(nullptr), Ref(nullptr);
       test::FillRows(A, {{4, 2, 2}, {2, 5, 3}, {2, 3, 6}});
       TMatrix B(nullptr);
       B.Assign(&A);
       B.CholeskyDecomp(&Ref);
       A.OnChange = H.On(A);
       const bool Ok = A.CholeskyDecomp(&A);
       return THostileOutcome{Outcome(Ok, Cells(A)), Outcome(Ok, CutTo(Ref, A.NrOfColumns(), A.NrOfRows()))};
     }},
    {"TMatrix::CalcHatMatrix, MathFeedBackProc resizes X",
     [](THostile& H) {
       TMatrix X(nullptr), Hat(nullptr);
       Fill(X, 2, 5);
       X.SetVal(1, 1, 20);
       MathFeedBackProc = H.On(X);
       const bool Ok = X.CalcHatMatrix(&Hat);
       return THostileOutcome{Outcome(Ok, Cells(Hat))};
     },
     ResultIs(0)},
    {"TMatrix::Invert, MathFeedBackProc resizes or moves the matrix",
     [](THostile& H) {
       TMatrix A(nullptr);
       test::FillRows(A, {{4, 2, 1}, {2, 5, 3}, {1, 3, 6}});
       MathFeedBackProc = H.On(A);
       const bool Ok = A.Invert();
       return THostileOutcome{Outcome(Ok, Ok ? Cells(A) : std::vector<double>{})};
     },
     ResultIs(0)},
    {"TMatrix::LUdecomposition, MatL's OnChange resizes MatL",
     [](THostile& H) {
       TMatrix A(nullptr), L(nullptr), U(nullptr);
       test::FillRows(A, {{4, 2, 1}, {2, 5, 3}, {1, 3, 6}});
       L.OnChange = H.On(L);
       int32_t Sign;
       const bool Ok = A.LUdecomposition(&L, &U, Sign);
       return THostileOutcome{Outcome(Ok, Cells(L), Cells(U))};
     },
     CheckedAccessorsOnly},
    {"TMatrix::Multiply, the result's OnChange resizes the result",
     [](THostile& H) {
       TMatrix A(nullptr), B(nullptr), Res(nullptr), Ref(nullptr);
       Fill(A, 3, 4);
       Fill(B, 2, 3);
       A.Multiply(&B, &Ref);
       Res.OnChange = H.On(Res);
       const bool Ok = A.Multiply(&B, &Res);
       return THostileOutcome{Outcome(Ok, Cells(Res)), Outcome(Ok, CutTo(Ref, Res.NrOfColumns(), Res.NrOfRows()))};
     }},
    {"TMatrix::CalcDistMat, DMat's OnChange resizes the source",
     [](THostile& H) {
       TMatrix A(nullptr), D(nullptr);
       Fill(A, 3, 5);
       D.Resize(5, 5);
       D.OnChange = H.On(A);
       const int32_t Code = A.CalcDistMat(dmEuclidean, &D);
       return THostileOutcome{Outcome(Code, Cells(D))};
     },
     CheckedAccessorsOnly},
};

const THostileCase ArrayCases[] = {
    {"TMat3D::MinMax, MathFeedBackProc resizes the array",
     [](THostile& H) {
       TMat3D A(nullptr);
       Ramp3D(A);
       return StatisticAndAgain(A, H, [&] {
         double Min, Max;
         A.MinMax(2, 6, 1, 5, 2, 4, Min, Max);
         return Outcome(Min, Max);
       });
     }},
    {"TMat3D::MeanVar, MathFeedBackProc resizes the array",
     [](THostile& H) {
       TMat3D A(nullptr);
       Ramp3D(A);
       return StatisticAndAgain(A, H, [&] {
         double Mean, Var;
         A.MeanVar(0, 0, 0, 0, 0, 0, Mean, Var);
         return Outcome(Mean, Var);
       });
     }},
    {"TMat3D::CopyLayerToMatrix, DestMat's OnChange resizes the array",
     [](THostile& H) {
       TMat3D A(nullptr);
       Ramp3D(A);
       TMatrix D(nullptr);
       D.OnChange = H.On(A);
       A.CopyLayerToMatrix(&D, 0, 0, 0, 0, 3);
       return THostileOutcome{Cells(D)};
     },
     CheckedAccessorsOnly},
    {"TMat3D::Clone, Self's OnChange grows or shrinks the source",
     [](THostile& H) {
       TMat3D A(nullptr), S(nullptr);
       Ramp3D(S);
       A.OnChange = H.On(S);
       A.Clone(&S);
       TMat3D Now(nullptr);  // the cells of S as it is now, in A's extents
       Now.Resize(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers());
       for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
         for (int32_t R = 1; R <= A.NrOfRows(); ++R)
           for (int32_t L = 1; L <= A.NrOfLayers(); ++L) Now.SetVal(C, R, L, S.GetVal(C, R, L));
       return THostileOutcome{Cells(A), Cells(Now)};
     }},
    {"TMat4D::Clone, Self's OnChange grows or shrinks the source",
     [](THostile& H) {
       TMat4D A(nullptr), S(nullptr);
       test::FillNamed4D(S, 3, 4, 2, 2);
       A.OnChange = H.On(S);
       A.Clone(&S);
       TMat4D Now(nullptr);  // the cells of S as it is now, in A's extents
       Now.Resize(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.NrOfTimeSlots());
       for (int32_t C = 1; C <= 3; ++C)
         for (int32_t R = 1; R <= 4; ++R)
           for (int32_t L = 1; L <= 2; ++L)
             for (int32_t T = 1; T <= 2; ++T) Now.SetVal(C, R, L, T, S.GetVal(C, R, L, T));
       return THostileOutcome{Cells(A), Cells(Now)};
     }},
    {"TMat4D::ReadLayer, OnPercentDone resizes or moves the array",
     [](THostile& H) {
       test::TempDir D;
       const std::string F = LayerFile(D);
       TMat4D A(nullptr);
       A.Resize(16, 16, 1, 1);
       A.OnPercentDone = H.On(A);
       const int32_t Code = A.ReadLayer(F, 1, 1);
       return THostileOutcome{Outcome(Code, Cells(A))};
     },
     [](const std::vector<double>& Got, const std::vector<double>&) { return Got[0] == -3; }},
    {"TMat4D::MeanVar, MathFeedBackProc resizes the array",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 4, 3, 3, 2);
       return StatisticAndAgain(A, H, [&] {
         double Mean, Var;
         A.MeanVar(2, 4, 0, 0, 0, 0, 1, 2, Mean, Var);
         return Outcome(Mean, Var);
       });
     }},
    {"TMat4D::Sum, MathFeedBackProc resizes the array",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 4, 3, 3, 2);
       return StatisticAndAgain(A, H, [&] { return Outcome(A.Sum(0, 0, 0, 0, 0, 0, 0, 0)); });
     }},
    {"TMat4D::CRCofData, OnPercentDone resizes the array",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 4, 3, 3, 2);
       A.OnPercentDone = H.On(A);
       const std::string Crc = A.CRCofData();
       A.OnPercentDone = nullptr;
       const std::string Now = A.CRCofData();
       return THostileOutcome{Outcome(std::vector<char>(Crc.begin(), Crc.end())),
                              Outcome(std::vector<char>(Now.begin(), Now.end()))};
     }},
    {"TMat4D::Transpose, OnPercentDone resizes the array",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 9, 3, 2, 2);
       A.OnPercentDone = H.On(A);
       const bool Ok = A.Transpose();
       return THostileOutcome{Outcome(Ok, Ok ? Cells(A) : std::vector<double>{})};
     },
     ResultIs(0)},
    {"TMat4D::MeanOfLayersToMatrix, DestMat's OnChange resizes the array",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 4, 3, 3, 2);
       TMatrix D(nullptr);
       D.OnChange = H.On(A);
       A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, 1);
       TMatrix Zeros(nullptr);
       Zeros.Resize(4, 3);
       return THostileOutcome{Cells(D), {}, Cells(Zeros)};
     }},
    {"TMat4D::StdDevOfLayersToMatrix, MathFeedBackProc resizes the result",
     [](THostile& H) {
       TMat4D A(nullptr);
       test::FillNamed4D(A, 4, 3, 3, 2);
       TMatrix D(nullptr), Ref(nullptr);
       A.StdDevOfLayersToMatrix(&Ref, 0, 0, 0, 0, 0, 0, 0, 0, 1);
       MathFeedBackProc = H.On(D);
       A.StdDevOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, 1);
       return THostileOutcome{Cells(D), CutTo(Ref, D.NrOfColumns(), D.NrOfRows())};
     }},
};

TEST(LinalgHostile, VectorRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(VectorCases); }
TEST(LinalgHostile, MatrixRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(MatrixCases); }
TEST(LinalgHostile, ArrayRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(ArrayCases); }

}  // namespace
}  // namespace orv
