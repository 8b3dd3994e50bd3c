// TCurveFit: the ASC text file.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "orvcalckit/ORV_math2.h"
#include "support/raises.h"
#include "support/tempfiles.h"

namespace orv {
namespace {

std::string ReadAll(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

void WriteAll(const std::string& Name, const std::string& Text) { std::ofstream(Name, std::ios::binary) << Text; }

TEST(CurveFitAsc, ExportLayout) {
  test::TempDir Dir;
  TCurveFit F;
  F.EnterStatValue(1, 2);
  F.EnterStatValue(3, 4);
  const std::string Name = Dir.File("pairs.asc");
  EXPECT_EQ(F.ExportAsASC(Name, "test", 2), "");
  EXPECT_EQ(ReadAll(Name),
            "test\r\n2\t;nr. of columns\r\n2\t;nr. of rows\r\n"
            "FALSE TRUE FALSE\t;row attributes, column names, row names\r\nx   y\r\n1.00\t2.00\r\n3.00\t4.00\r\n");
  // Without a comment the file name stands in; line breaks become blanks.
  EXPECT_EQ(F.ExportAsASC(Name, "", 0), "");
  EXPECT_EQ(ReadAll(Name).substr(0, 41 + Name.size()),
            "Exported by ORV TCurveFit component: " + Name + "\r\n2\t");
  EXPECT_EQ(F.ExportAsASC(Name, "a\nb\r\nc", 0), "");
  EXPECT_EQ(ReadAll(Name).substr(0, 8), "a b  c\r\n");
  // A file that cannot be created: the message, nothing raised.
  EXPECT_NE(F.ExportAsASC(Dir.File("no/such/dir.asc"), "x", 2), "");
}

TEST(CurveFitAsc, RoundTripReplacesThePairs) {
  test::TempDir Dir;
  const std::string Name = Dir.File("pairs.asc");
  const double Inf = std::numeric_limits<double>::infinity();
  const double X[] = {0.1, -2.5, 1e6 / 7, 3, Inf}, Y[] = {7, 1.0 / 3, -1e-3, std::nan(""), -Inf};
  TCurveFit F, Ref;
  for (int I = 0; I < 5; ++I) F.EnterStatValue(X[I], Y[I]);
  ASSERT_EQ(F.ExportAsASC(Name, "", 25), "");
  TCurveFit G;  // pairs held before are replaced, sums and extremes too
  G.EnterStatValue(-100, 100);
  ASSERT_EQ(G.ImportASC(Name), 0);
  ASSERT_EQ(G.NumData(), 5);
  for (int I = 1; I <= 5; ++I) {
    EXPECT_EQ(G.DataX(I), X[I - 1]) << I;
    if (I != 4) {
      EXPECT_EQ(G.DataY(I), Y[I - 1]) << I;
    }
  }
  EXPECT_TRUE(std::isnan(G.DataY(4)));
  EXPECT_EQ(G.MinX(), -2.5);
  for (int I = 1; I <= 3; ++I) Ref.EnterStatValue(X[I - 1], Y[I - 1]);
  ASSERT_EQ(Ref.ExportAsASC(Name, "", 25), "");
  ASSERT_EQ(G.ImportASC(Name), 0);
  EXPECT_EQ(G.NumData(), 3);
  EXPECT_EQ(G.MinX(), -2.5);
  EXPECT_EQ(G.MaxY(), 7);
  EXPECT_EQ(G.MeanX(), Ref.MeanX());
  EXPECT_EQ(G.StdDevY(), Ref.StdDevY());
}

TEST(CurveFitAsc, BadFiles) {
  test::TempDir Dir;
  const std::string Name = Dir.File("bad.asc");
  const std::string Head = "c\n2\t;nr. of columns\n3\t;nr. of rows\n";
  // file text, code: truncated, corrupted values and attributes, lying
  // counts (rejected by the header reader), nominal variables.
  const struct { std::string Text; int32_t Code; } Rows[] = {
      {Head + "FALSE TRUE FALSE\nx   y\n1 2\n3 4\n5 6\n", 0},
      {Head + "FALSE TRUE FALSE\nx   y\n1 2\n3 4\n5", -6},
      {Head + "FALSE TRUE FALSE\nx   y\n1 2\n3 four\n5 6\n", -6},
      {Head + "FALSE FALSE FALSE\n1 2\n3 4\n5 6\n", 0},
      {Head + "TRUE FALSE TRUE\n1 \"a b\" 1 2\n2 \"c\" 3 4\n3 \"d\" 5 6\n", 0},
      {Head + "TRUE FALSE FALSE\n1 1 2\nx 3 4\n3 5 6\n", -5},
      {"c\n2\n99999\nFALSE TRUE FALSE\nx   y\n1 2\n", -3},
      {"c\n2\n1\nFALSE TRUE FALSE TRUE\nx   y\n1 2\n", -7},
      {"c\n2\n1\n", -2},
      {"c\n2\n1\nMAYBE\n1 2\n", -4},
  };
  for (const auto& R : Rows) {
    WriteAll(Name, R.Text);
    TCurveFit F;
    F.EnterStatValue(10, 20);
    EXPECT_EQ(F.ImportASC(Name), R.Code) << R.Text;
    if (R.Code == 0) {
      EXPECT_EQ(F.NumData(), 3) << R.Text;
      EXPECT_EQ(F.DataY(3), 6) << R.Text;
      EXPECT_EQ(F.MeanX(), 3) << R.Text;
    } else {  // the fitter as it was
      EXPECT_EQ(F.NumData(), 1) << R.Text;
      EXPECT_EQ(F.DataX(1), 10) << R.Text;
      EXPECT_EQ(F.MeanY(), 20) << R.Text;
    }
  }
  TCurveFit F;
  EXPECT_EQ(F.ImportASC(Dir.File("missing.asc")), -1);
  WriteAll(Name, "c\n3\n1\nFALSE FALSE FALSE\n1 2 3\n");
  test::ExpectRaises<EORVMath2Error>([&] { F.ImportASC(Name); },
                                     "TCurveFit.ImportASC: number of columns must be 2 (is actually 3).");
}

}  // namespace
}  // namespace orv
