// TVector core: size, elements, ranges, length, copying, filling, checksum.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using orv::TVector;

using orv::test::FillValues;
using orv::test::Values;

TEST(VectorCore, NewVectorHasOneZeroElementAndIsEmpty) {
  TVector V(nullptr);
  EXPECT_EQ(V.ClassName(), "TVector");
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_EQ(V.Elem(1), 0.0);
  EXPECT_EQ(V.Elem(0), 0.0);
  EXPECT_EQ(V.Elem(2), 0.0);
  EXPECT_TRUE(V.IsEmpty());
}

TEST(VectorCore, ElementWritesInsideStoreClearIsEmptyAndFire) {
  TVector V(nullptr);
  V.Resize(3);
  int Changes = 0;
  V.OnChange = [&](orv::TObject* S) {
    EXPECT_EQ(S, &V);
    ++Changes;
  };
  for (int I : {0, 4, -1, INT32_MIN, INT32_MAX}) V.SetVal(I, 5.0);
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(V.IsEmpty());
  V.SetElem(3, -2.5);
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(V.IsEmpty());
  EXPECT_EQ(Values(V), (std::vector<double>{0, 0, -2.5}));
  V.SetIsEmpty(true);
  EXPECT_TRUE(V.IsEmpty());
}

TEST(VectorCore, ResizeRules) {
  TVector V(nullptr);
  int Changes = 0;
  V.OnChange = [&](orv::TObject*) { ++Changes; };
  EXPECT_FALSE(V.Resize(0));
  EXPECT_FALSE(V.Resize(-5));
  V.SetNrOfElem(0);
  V.SetVecSize(-5);
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_TRUE(V.Resize(1));
  EXPECT_EQ(Changes, 0);
  V.Resize(3);
  V.SetVal(1, 1);
  V.SetVal(2, 2);
  V.SetVal(3, 3);
  V.SetIsEmpty(true);
  Changes = 0;
  EXPECT_TRUE(V.Resize(5));  // grows keeping the values, adding zeros
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3, 0, 0}));
  EXPECT_TRUE(V.IsEmpty());  // Resize leaves the marker alone
  V.SetNrOfElem(2);
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2}));
  // 2^31 doubles exceed a 32-bit address space; asking 64 bits for 16 GB would be no test.
  if (sizeof(void*) == 4) {
    V.SetName("Vector1");
    orv::test::ExpectRaises<orv::EORVVectorError>([&] { V.Resize(INT32_MAX); },
                                                  "Component \"Vector1\": not enough memory");
    EXPECT_EQ(Values(V), (std::vector<double>{1, 2}));
  }
}

TEST(VectorCore, ElemRangeRule) {
  TVector V(nullptr);
  V.Resize(5);
  auto R = [&](int Lo, int Hi) {
    V.MakeValidElemRange(Lo, Hi);
    return std::pair(Lo, Hi);
  };
  EXPECT_EQ(R(0, 0), std::pair(1, 5));
  EXPECT_EQ(R(-3, 9), std::pair(1, 5));
  EXPECT_EQ(R(4, 2), std::pair(2, 4));
  EXPECT_EQ(R(0, 3), std::pair(1, 3));
  EXPECT_EQ(R(9, 7), std::pair(5, 5));
}

TEST(VectorCore, LengthAndScaling) {
  TVector V(nullptr);
  FillValues(V, {3, -4});
  EXPECT_EQ(V.CalcVecLeng(), 5.0);
  EXPECT_EQ(V.Leng(), 5.0);
  int Changes = 0;
  V.OnChange = [&](orv::TObject*) { ++Changes; };
  V.SetVecLeng(10);
  EXPECT_EQ(Values(V), (std::vector<double>{6, -8}));
  EXPECT_EQ(Changes, 1);
  V.SetLeng(1);
  EXPECT_DOUBLE_EQ(V.Elem(1), 0.6);
  // A zero vector cannot be scaled: nothing happens.
  V.Fill(0);
  Changes = 0;
  V.SetVecLeng(3);
  EXPECT_EQ(Changes, 0);
  // Squares beyond the double range: the norm is still right (3-4-5 scaled by 1e200).
  FillValues(V, {3e200, 4e200});
  EXPECT_DOUBLE_EQ(V.CalcVecLeng(), 5e200);
  V.SetVecLeng(1);
  EXPECT_DOUBLE_EQ(V.Elem(1), 0.6);
  EXPECT_DOUBLE_EQ(V.Elem(2), 0.8);
  // Squares below the smallest double.
  FillValues(V, {3e-200, 4e-200});
  EXPECT_DOUBLE_EQ(V.CalcVecLeng(), 5e-200);
  V.SetVecLeng(5);
  EXPECT_DOUBLE_EQ(V.Elem(1), 3.0);
  // Target lengths whose factor alone overflows or underflows.
  FillValues(V, {3e-300, 4e-300});
  V.SetVecLeng(5e300);
  EXPECT_DOUBLE_EQ(V.Elem(2), 4e300);
  FillValues(V, {3e300, 4e300});
  V.SetVecLeng(5e-300);
  EXPECT_DOUBLE_EQ(V.Elem(1), 3e-300);
  EXPECT_DOUBLE_EQ(V.Elem(2), 4e-300);
  FillValues(V, {3e200, -4e200});
  V.SetVecLeng(5e-120);  // the factor 1e-320 keeps only a few bits
  EXPECT_DOUBLE_EQ(V.Elem(2), -4e-120);
  // NaN and infinite norms leave the elements alone.
  const double Inf = std::numeric_limits<double>::infinity();
  FillValues(V, {1, Inf});
  EXPECT_EQ(V.CalcVecLeng(), Inf);
  V.SetVecLeng(1);
  EXPECT_EQ(V.Elem(1), 1.0);
  FillValues(V, {1, std::nan("")});
  EXPECT_TRUE(std::isnan(V.CalcVecLeng()));
  V.SetVecLeng(1);
  EXPECT_EQ(V.Elem(1), 1.0);
}

TEST(VectorCore, AssignCopiesDataMarkerAndHandlersWithoutFiring) {
  TVector A(nullptr), B(nullptr);
  A.SetName("A");
  B.SetName("B");
  FillValues(A, {1, 2, 3});
  int AChanges = 0, Exchanges = 0;
  A.OnChange = [&](orv::TObject*) { ++AChanges; };
  A.OnSortExchange = [&](orv::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) { ++Exchanges; };
  B.Assign(&A);
  EXPECT_EQ(AChanges, 0);
  EXPECT_EQ(Values(B), (std::vector<double>{1, 2, 3}));
  EXPECT_FALSE(B.IsEmpty());
  EXPECT_EQ(B.Name(), "B");
  B.SetVal(1, 9);
  EXPECT_EQ(AChanges, 1);  // the handler came along
  EXPECT_EQ(A.Elem(1), 1.0);
  B.SortExchange(0, 1, 2, 0, 0);
  EXPECT_EQ(Exchanges, 1);
  TVector Fresh(nullptr);
  B.Assign(&Fresh);
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_EQ(B.NrOfElem(), 1);
  EXPECT_FALSE(B.OnChange);
  orv::TComponent Other(nullptr);
  EXPECT_THROW(B.Assign(&Other), orv::EConvertError);
  EXPECT_THROW(Other.Assign(&B), orv::EConvertError);
  A.AssignTo(&B);
  EXPECT_EQ(B.NrOfElem(), 3);
}

TEST(VectorCore, CloneFiresPerElementAndOnceMore) {
  TVector A(nullptr), B(nullptr);
  FillValues(A, {4, 5, 6});
  A.SetIsEmpty(true);
  std::vector<double> Sums;
  B.OnChange = [&](orv::TObject*) {
    double S = 0;
    for (int I = 1; I <= B.NrOfElem(); ++I) S += B.Elem(I);
    Sums.push_back(S);
  };
  B.Clone(&A);  // Resize 1 -> 3, three elements, the end
  EXPECT_EQ(Sums, (std::vector<double>{0, 4, 9, 15, 15}));
  EXPECT_FALSE(B.IsEmpty());
  EXPECT_FALSE(B.OnSortExchange);
  B.Clone(nullptr);
  EXPECT_EQ(Sums.size(), 5u);
  TVector C(nullptr);
  C.Clone(&A);
  EXPECT_EQ(Values(C), (std::vector<double>{4, 5, 6}));
  EXPECT_FALSE(C.IsEmpty());
}

TEST(VectorCore, CopyFromClampsSwapsDropsOutsideAndHandlesOverlap) {
  TVector Src(nullptr), D(nullptr);
  FillValues(Src, {1, 2, 3, 4, 5, 6});
  D.Resize(6);
  int Changes = 0;
  D.OnChange = [&](orv::TObject*) { ++Changes; };
  D.CopyFrom(&Src, 5, 2, 1);  // reversed bounds: elements 2..5
  EXPECT_EQ(Values(D), (std::vector<double>{2, 3, 4, 5, 0, 0}));
  EXPECT_EQ(Changes, 4 + 1);
  D.Clear();
  D.CopyFrom(&Src, -4, 99, 4);  // clamped to 1..6, only three fit
  EXPECT_EQ(Values(D), (std::vector<double>{0, 0, 0, 1, 2, 3}));
  D.CopyFrom(&Src, 1, 3, -1);  // element 3 lands on position 1
  EXPECT_EQ(D.Elem(1), 3.0);
  D.CopyFrom(&Src, 1, 6, INT32_MAX);  // no position overflows
  D.CopyFrom(nullptr, 1, 2, 1);
  // Overlapping copy inside one vector, both directions, with and without handler.
  for (bool Handler : {false, true}) {
    TVector V(nullptr);
    FillValues(V, {1, 2, 3, 4, 5});
    if (Handler) V.OnChange = [](orv::TObject*) {};
    V.CopyFrom(&V, 1, 4, 2);
    EXPECT_EQ(Values(V), (std::vector<double>{1, 1, 2, 3, 4})) << Handler;
    V.CopyFrom(&V, 2, 5, 1);
    EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 3, 4, 4})) << Handler;
  }
}

TEST(VectorCore, CopyToAndFromArrays) {
  TVector V(nullptr);
  FillValues(V, {1, 2, 3, 4});
  orv::TDoubleArray A = {9, 9, 9, 9, 9, 9};
  V.CopyToArray(A, 3, 2);
  EXPECT_EQ(A, (orv::TDoubleArray{2, 3}));
  V.CopyToArray(A, 0, 0);
  EXPECT_EQ(A, (orv::TDoubleArray{1, 2, 3, 4}));
  V.CopyToArray(A, 7, 9);
  EXPECT_EQ(A, (orv::TDoubleArray{4}));
  int Changes = 0;
  V.OnChange = [&](orv::TObject*) { ++Changes; };
  V.CopyFromArray({7, 8, 9}, 3);  // 9 falls outside
  EXPECT_EQ(Values(V), (std::vector<double>{1, 2, 7, 8}));
  EXPECT_EQ(Changes, 2);  // per element written, nothing more
  V.OnChange = nullptr;
  V.CopyFromArray({5, 6, 7}, -1);  // only 7 lands, on element 1
  EXPECT_EQ(Values(V), (std::vector<double>{7, 2, 7, 8}));
  V.SetIsEmpty(true);
  V.CopyFromArray({}, 1);
  EXPECT_TRUE(V.IsEmpty());
  V.CopyFromArray({1}, 1);
  EXPECT_FALSE(V.IsEmpty());
}

TEST(VectorCore, FillClearAbsAndRandomFireOnceAndSetMarker) {
  TVector V(nullptr);
  V.Resize(4);
  int Changes = 0;
  V.OnChange = [&](orv::TObject*) { ++Changes; };
  V.Fill(-2);
  EXPECT_EQ(Values(V), (std::vector<double>{-2, -2, -2, -2}));
  EXPECT_FALSE(V.IsEmpty());
  V.SetVal(2, 3);
  V.AbsVal();
  EXPECT_EQ(Values(V), (std::vector<double>{2, 3, 2, 2}));
  EXPECT_FALSE(V.IsEmpty());
  V.Clear();
  EXPECT_EQ(Values(V), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_TRUE(V.IsEmpty());
  V.SetIsEmpty(true);
  V.AbsVal();
  EXPECT_TRUE(V.IsEmpty());
  EXPECT_EQ(Changes, 1 + 1 + 1 + 1 + 1);
  Changes = 0;
  orv::SetRandSeed(7);
  V.FillRandomUniform(-1, 3);
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(V.IsEmpty());
  orv::SetRandSeed(7);
  for (int I = 1; I <= 4; ++I) {
    EXPECT_EQ(V.Elem(I), -1 + orv::Random() * 4);  // the generator's draws, in element order
    EXPECT_GE(V.Elem(I), -1.0);
    EXPECT_LT(V.Elem(I), 3.0);
  }
}

TEST(VectorCore, FillRandomGaussScalesStandardNormals) {
  TVector V(nullptr);
  V.Resize(20000);
  V.SetIsEmpty(true);
  int Changes = 0;
  V.OnChange = [&](orv::TObject*) { ++Changes; };
  V.FillRandomGauss(5, 0);  // a zero spread leaves exactly the mean
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(V.IsEmpty());
  for (int I = 1; I <= V.NrOfElem(); I += 997) EXPECT_EQ(V.Elem(I), 5.0);
  orv::SetRandSeed(11);
  V.FillRandomGauss(-3, 2);
  double S = 0, Q = 0;
  for (int I = 1; I <= V.NrOfElem(); ++I) S += V.Elem(I);
  const double Mean = S / V.NrOfElem();
  for (int I = 1; I <= V.NrOfElem(); ++I) Q += (V.Elem(I) - Mean) * (V.Elem(I) - Mean);
  // Standard errors for n = 20000: 2 / sqrt(n) = 0.014 for the mean, about 0.01 for the spread.
  EXPECT_NEAR(Mean, -3.0, 0.06);
  EXPECT_NEAR(std::sqrt(Q / (V.NrOfElem() - 1)), 2.0, 0.05);
}

TEST(VectorCore, IsDichotomous) {
  TVector V(nullptr);
  double A = 5, B = 5;
  EXPECT_FALSE(V.IsDichotomous(A, B));  // one element
  EXPECT_EQ(A, 0.0);
  EXPECT_EQ(B, 0.0);
  FillValues(V, {2, 2, 2});
  EXPECT_TRUE(V.IsDichotomous(A, B));  // constant counts as dichotomous
  EXPECT_EQ(A, 2.0);
  EXPECT_EQ(B, 2.0);
  FillValues(V, {2, 2, 7, 2, 7});
  EXPECT_TRUE(V.IsDichotomous(A, B));
  EXPECT_EQ(A, 2.0);
  EXPECT_EQ(B, 7.0);
  FillValues(V, {2, 7, 7, 3});
  EXPECT_FALSE(V.IsDichotomous(A, B));
  FillValues(V, {1, std::nan(""), 1, std::nan("")});
  EXPECT_FALSE(V.IsDichotomous(A, B));  // NaN equals nothing, not even itself
}

TEST(VectorCore, ChecksumIsLaneInterleavedCRC32) {
  TVector V(nullptr);
  // One element 0.0: every register sees one zero byte, the CRC-32 of "\0".
  const std::string Zero = "D202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8D";
  EXPECT_EQ(V.CRCofData(), Zero);
  EXPECT_EQ(V.CRCofData(), Zero);
  // Register j is the standard CRC-32 of byte j of every element (Python:
  // zlib.crc32(bytes(struct.pack('<d', x)[j] for x in (1.5, -2.0, 3.25)))).
  FillValues(V, {1.5, -2.0, 3.25});
  EXPECT_EQ(V.CRCofData(), "FF41D912FF41D912FF41D912FF41D912FF41D912FF41D912A44312646D50ED61");
  V.SetVal(2, -2.0000000000000004);
  EXPECT_NE(V.CRCofData(), "FF41D912FF41D912FF41D912FF41D912FF41D912FF41D912A44312646D50ED61");
}

}  // namespace
