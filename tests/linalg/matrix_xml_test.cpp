// The number scanners and the XML steps of TMatrix and TMat3D, fed by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"

namespace {

using namespace orv;

TEST(MatrixXml, ParseIntegerAtReadsSignedDigitsAndSaturates) {
  // text, Pos before, value, Pos after: the scanner's rules; limits of int32_t
  const struct {
    const char* Text;
    int32_t Pos, Want, PosAfter;
  } Rows[] = {
      {"  -42x", 1, -42, 6}, {"", 3, 0, 3},   {"123", 1, 123, 4}, {"+7", 1, 7, 3},   {"   ", 1, 0, 3},
      {"ab12", 3, 12, 5},    {"12", 0, 12, 3}, {"12", -5, 12, 3}, {"12", 3, 0, 3},  {"12", 40, 0, 40},
      {"- 5", 1, 0, 2},      {"x", 1, 0, 1},  {"2147483647", 1, INT32_MAX, 11}, {"2147483648", 1, INT32_MAX, 11},
      {"-2147483648", 1, INT32_MIN, 12},      {"-2147483649", 1, INT32_MIN, 12},
      {"-99999999999999999999999", 1, INT32_MIN, 25}, {"99999999999999999999999x", 1, INT32_MAX, 24},
  };
  for (const auto& R : Rows) {
    int32_t Pos = R.Pos;
    const int32_t V = ParseIntegerAt(R.Text, Pos);
    EXPECT_EQ(std::tuple(V, Pos), std::tuple(R.Want, R.PosAfter)) << '"' << R.Text << "\" from " << R.Pos;
  }
}

TEST(MatrixXml, ParseRealAtFollowsTheStateTableAndConvertsExactly) {
  constexpr double Max = uc_MaxDouble;
  // text, exponent allowed, decimal mode, Pos before, value, Pos after. Values
  // of accepted texts: Python's float() of the number text, printed with
  // repr(); beyond the double range the clamp to uc_MaxDouble.
  const struct {
    const char* Text;
    bool Exp;
    int32_t Mode, Pos;
    double Want;
    int32_t PosAfter;
  } Rows[] = {
      {"3.25", true, 1, 1, 3.25, 5},       {"1.5e3", true, 1, 1, 1500, 6},      {"7.", true, 1, 1, 7, 3},
      {"-.5", true, 1, 1, -0.5, 4},        {"+.25", true, 1, 1, 0.25, 5},       {"E5", true, 1, 1, 0, 1},
      {"2,5", true, 2, 1, 2.5, 4},         {"2.5", true, 2, 1, 2, 2},           {"1,5", true, 3, 1, 1.5, 4},
      {"1.5", true, 0, 1, 1, 2},           {"1E5", false, 1, 1, 1, 2},          {"1e5x", true, 1, 1, 1e5, 4},
      {"  12.5  ", true, 1, 1, 12.5, 7},   {"3.5+2", true, 1, 1, 3.5, 4},       {"ab-1.5e2cd", true, 1, 3, -150, 9},
      {"5", true, 1, 0, 5, 2},             {"5", true, 1, 7, 0, 7},             {"", true, 1, 1, 0, 1},
      {"1..2", true, 1, 1, 0, 3},          {"1.2.3", true, 1, 1, 0, 4},         {"- 5", true, 1, 1, 0, 2},
      {"1E 5", true, 1, 1, 0, 3},          {"1E.5", true, 1, 1, 0, 3},          {"1E+-5", true, 1, 1, 0, 4},
      {"1E", true, 1, 1, 1, 3},            {"1E+", true, 1, 1, 1, 4},           {"2e-x", true, 1, 1, 2, 4},
      {"1.E", true, 1, 1, 1, 4},           {".", true, 1, 1, 0, 2},             {"0.1", true, 1, 1, 0.1, 4},
      {"9007199254740993", true, 1, 1, 9007199254740992.0, 17},  // ties to even
      {"2.2250738585072011e-308", true, 1, 1, 2.225073858507201e-308, 24},
      {"4.9e-324", true, 1, 1, 5e-324, 9}, {"123.456e-5", true, 1, 1, 0.00123456, 11},
      {"1e00000000000000000000000000000000000000005", true, 1, 1, 100000.0, 44},
      {"1.8e308", true, 1, 1, Max, 8},     {"1E400", true, 1, 1, Max, 6},       {"-1E400", true, 1, 1, -Max, 7},
      {"1E4201", true, 1, 1, Max, 7},      {"1E-4201", true, 1, 1, 0, 8},       {"2e-324", true, 1, 1, 0, 7},
  };
  for (const auto& R : Rows) {
    int32_t Pos = R.Pos;
    const double V = ParseRealAt(R.Text, R.Exp, R.Mode, Pos);
    EXPECT_EQ(std::tuple(V, Pos), std::tuple(R.Want, R.PosAfter)) << '"' << R.Text << "\" mode " << R.Mode;
  }
  // Signed zeros: "-." and an underflow keep the sign.
  for (const char* T : {"-.", "-0", "-1E-400", "-.E5"}) {
    int32_t Pos = 1;
    const double V = ParseRealAt(T, true, 1, Pos);
    EXPECT_TRUE(V == 0.0 && std::signbit(V)) << T;
  }
  // A mantissa beyond any floating-point range is clamped as well.
  int32_t Pos = 1;
  EXPECT_EQ(ParseRealAt(std::string(100000, '7'), true, 1, Pos), Max);
  EXPECT_EQ(Pos, 100001);
}

template <class M>
int32_t Tag(M& Mat, TMatXmlTag T, const std::string& Content, const std::string& Attributes = "") {
  return Mat.ProcessXmlTag(T, Attributes, Content);
}

TEST(MatrixXml, MatrixStepSizesAtTheFirstCellAndStoresCells) {
  TMatrix M(nullptr);
  test::TChangeCounter Ch;
  Ch.Attach(M);
  M.FirstCell = true;
  EXPECT_EQ(Tag(M, xmlMatBegin, ""), 0);
  EXPECT_EQ(Tag(M, xmlMatNumCols, " 3"), 0);
  EXPECT_EQ(Tag(M, xmlMatNumRows, "2"), 0);
  EXPECT_EQ(Tag(M, xmlMatNumLayers, "7"), 0);  // no layers in a matrix
  EXPECT_EQ(M.NrOfColumns(), 1);               // announced, not applied yet
  // attribute texts of cells with value 9 that are ignored: outside, a
  // saturated index, no ix (only pix, or only inside a value), unquoted
  for (const char* Ignored : {"ix=\"4\" iy=\"1\"", "ix=\"99999999999\" iy=\"1\"", "pix=\"2\" iy=\"1\"",
                              "note='ix=\"2\"' iy=\"1\"", "ix=2 iy=\"1\"", "iy=\"1\""})
    EXPECT_EQ(Tag(M, xmlMatCell, "9", Ignored), 0) << Ignored;
  EXPECT_FALSE(M.FirstCell);
  EXPECT_EQ(Tag(M, xmlMatCell, "1.5e1", "ix=\"3\" iy=\"2\""), 0);
  EXPECT_EQ(Tag(M, xmlMatCell, "-2", "iy='1'  ix = \"1\""), 0);
  EXPECT_EQ(Tag(M, xmlMatCell, "4", "ix=\"2\" ix=\"3\" iy=\"1\""), 0);  // the first ix counts
  EXPECT_EQ(Tag(M, xmlMatNumCols, "5"), 0);                              // after the first cell: nothing
  for (auto T : {xmlMatNumTimeSlots, static_cast<TMatXmlTag>(200)}) EXPECT_EQ(Tag(M, T, "5"), 0);
  EXPECT_EQ(Tag(M, xmlMatEnd, ""), 1);
  EXPECT_EQ(Tag(M, xmlInvalid, ""), -1);
  EXPECT_EQ(test::Row(M, 1), (std::vector<double>{-2, 4, 0}));
  EXPECT_EQ(test::Row(M, 2), (std::vector<double>{0, 0, 15}));
  EXPECT_EQ(Ch.Count, 1 + 3);  // the resize, then each stored cell

  // Counts with no cell before the end change nothing; a cell before any
  // count keeps the size, one count keeps the other axis, 0 is a count.
  M.FirstCell = true;
  Tag(M, xmlMatNumCols, "40");
  EXPECT_EQ(Tag(M, xmlMatEnd, ""), 1);
  EXPECT_EQ(Tag(M, xmlMatCell, "8", "ix=\"1\" iy=\"1\""), 0);
  EXPECT_EQ(std::tuple(M.NrOfColumns(), M.NrOfRows(), M.Elem(1, 1)), std::tuple(3, 2, 8.0));
  M.FirstCell = true;
  Tag(M, xmlMatNumRows, "5");
  Tag(M, xmlMatCell, "1", "ix=\"1\" iy=\"5\"");
  EXPECT_EQ(std::tuple(M.NrOfColumns(), M.NrOfRows(), M.Elem(1, 5)), std::tuple(3, 5, 1.0));
  M.FirstCell = true;
  Tag(M, xmlMatNumCols, "0");
  Tag(M, xmlMatCell, "1", "ix=\"1\" iy=\"1\"");
  EXPECT_EQ(std::tuple(M.NrOfColumns(), M.Mat.size()), std::tuple(0, 1u));
}

TEST(MatrixXml, CountsAnnouncedBeforeFirstCellIsSetApply) {
  // A reader that sets FirstCell only just before the first cell element:
  // every component takes the counts announced before (3 columns, 2 rows,
  // 4 layers, 5 time slots) and stores the cell in its far corner.
  const auto Feed = [](auto& M, int32_t Axes, const char* Cell) {
    const std::pair<TMatXmlTag, const char*> Counts[] = {
        {xmlMatNumCols, "3"}, {xmlMatNumRows, "2"}, {xmlMatNumLayers, "4"}, {xmlMatNumTimeSlots, "5"}};
    for (int32_t K = 0; K < Axes; ++K) EXPECT_EQ(Tag(M, Counts[K].first, Counts[K].second), 0);
    M.FirstCell = true;
    EXPECT_EQ(Tag(M, xmlMatCell, "7", Cell), 0);
    EXPECT_FALSE(M.FirstCell);
  };
  TMatrix M(nullptr);
  Feed(M, 2, "ix=\"3\" iy=\"2\"");
  EXPECT_EQ(std::tuple(M.NrOfColumns(), M.NrOfRows(), M.Elem(3, 2)), std::tuple(3, 2, 7.0));
  TIntMatrix I(nullptr);
  Feed(I, 2, "ix=\"3\" iy=\"2\"");
  EXPECT_EQ(std::tuple(I.NrOfColumns(), I.NrOfRows(), I.Elem(3, 2)), std::tuple(3, 2, 7));
  TMat3D A(nullptr);
  Feed(A, 3, "ix=\"3\" iy=\"2\" iz=\"4\"");
  EXPECT_EQ(std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.Elem(3, 2, 4)), std::tuple(3, 2, 4, 7.0));
  TMat4D Q(nullptr);
  Feed(Q, 4, "ix=\"3\" iy=\"2\" il=\"4\" it=\"5\"");
  EXPECT_EQ(std::tuple(Q.NrOfColumns(), Q.NrOfRows(), Q.NrOfLayers(), Q.NrOfTimeSlots(), Q.Elem(3, 2, 4, 5)),
            std::tuple(3, 2, 4, 5, 7.0));
}

TEST(MatrixXml, RefusedCountsLeaveTheComponentAsItWas) {
  // announced columns and rows, limit: refused at the first cell with -1
  const struct {
    const char *Cols, *Rows;
    int64_t Limit;
  } Cases[] = {
      {"-3", "2", DefaultXmlCellLimit},         {"4", "-2147483648", DefaultXmlCellLimit},
      {"2147483647", "2147483647", DefaultXmlCellLimit}, {"100000", "100000", DefaultXmlCellLimit},
      {"30", "30", 899},
  };
  for (const auto& C : Cases) {
    TMatrix M(nullptr);
    M.Resize(2, 2);
    M.SetVal(2, 2, 7.0);
    test::TChangeCounter Ch;
    Ch.Attach(M);
    M.XmlCellLimit = C.Limit;
    M.FirstCell = true;
    Tag(M, xmlMatNumCols, C.Cols);
    Tag(M, xmlMatNumRows, C.Rows);
    EXPECT_EQ(Tag(M, xmlMatCell, "1", "ix=\"1\" iy=\"1\""), -1) << C.Cols << " x " << C.Rows;
    EXPECT_EQ(Tag(M, xmlMatCell, "1", "ix=\"1\" iy=\"1\""), -1);  // and every cell after it
    EXPECT_EQ(std::tuple(M.NrOfColumns(), M.NrOfRows(), M.Elem(2, 2), M.Elem(1, 1), Ch.Count),
              std::tuple(2, 2, 7.0, 0.0, 0));
  }
  TMatrix M(nullptr);  // at the limit the text is taken
  M.XmlCellLimit = 900;
  M.FirstCell = true;
  Tag(M, xmlMatNumCols, "30");
  Tag(M, xmlMatNumRows, "30");
  EXPECT_EQ(Tag(M, xmlMatCell, "1", "ix=\"30\" iy=\"30\""), 0);
  EXPECT_EQ(M.Elem(30, 30), 1.0);
}

TEST(MatrixXml, ArrayStepReadsThreeIndicesAndKeepsCountsAboveZero) {
  TMat3D A(nullptr);
  test::TChangeCounter Ch;
  Ch.Attach(A);
  A.FirstCell = true;
  Tag(A, xmlMatNumCols, "2");
  Tag(A, xmlMatNumRows, "0");  // never 0: one row
  Tag(A, xmlMatNumLayers, "3");
  EXPECT_EQ(Tag(A, xmlMatCell, "2,5", "ix=\"2\" iy=\"1\" iz=\"3\""), 0);  // decimal point only: 2
  EXPECT_EQ(Tag(A, xmlMatCell, "-1e-2", "iz=\"1\" iy=\"1\" ix=\"1\""), 0);
  for (const char* Ignored : {"ix=\"1\" iy=\"1\"", "ix=\"1\" iy=\"1\" il=\"1\"", "ix=\"1\" iy=\"1\" iz=\"4\""})
    EXPECT_EQ(Tag(A, xmlMatCell, "9", Ignored), 0) << Ignored;
  EXPECT_EQ(Tag(A, xmlMatEnd, ""), 1);
  EXPECT_EQ(std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers()), std::tuple(2, 1, 3));
  EXPECT_EQ(std::tuple(A.Elem(2, 1, 3), A.Elem(1, 1, 1), A.Elem(1, 1, 2)), std::tuple(2.0, -0.01, 0.0));
  EXPECT_EQ(Ch.Count, 1);  // the resize; cells are stored without events
  // 2^31 - 1 in every axis: refused before any allocation.
  A.FirstCell = true;
  for (TMatXmlTag T : {xmlMatNumCols, xmlMatNumRows, xmlMatNumLayers}) Tag(A, T, "2147483647");
  EXPECT_EQ(Tag(A, xmlMatCell, "1", "ix=\"1\" iy=\"1\" iz=\"1\""), -1);
  EXPECT_EQ(Tag(A, xmlInvalid, ""), -1);  // drops them
  EXPECT_EQ(Tag(A, xmlMatCell, "1", "ix=\"1\" iy=\"1\" iz=\"1\""), 0);
  EXPECT_EQ(std::tuple(A.NrOfColumns(), A.NrOfRows(), A.NrOfLayers(), A.Elem(1, 1, 1)), std::tuple(2, 1, 3, 1.0));
}

}  // namespace
