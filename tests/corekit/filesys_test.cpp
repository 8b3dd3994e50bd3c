// The ASC header reader.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "orvcorekit/Orv_filesys.h"
#include "support/tempfiles.h"

namespace {

struct Header {
  std::string Comment = "unchanged";
  int32_t Cols = -99, Rows = -99;
  bool Attr = true, ColNames = false, RowNames = true, Nominal = true;
  int32_t Read(const std::string& Name) {
    return orv::ReadHeaderOfASC(Name, Comment, Cols, Rows, Attr, ColNames, RowNames, Nominal);
  }
};

class AscHeader : public ::testing::Test {
 protected:
  int32_t ReadText(const std::string& Text) {
    std::ofstream(Name, std::ios::binary | std::ios::trunc) << Text;
    H = Header();
    return H.Read(Name);
  }
  orv::test::TempDir Dir;
  std::string Name = Dir.File("h.asc");
  Header H;
};

TEST_F(AscHeader, ReadsTheVectorFormWithFourFlags) {
  ASSERT_EQ(ReadText("Exported by ORV TVector component: v.asc\r\n1\t;nr. of columns\r\n3\t;nr. of rows\r\n"
                     "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables\r\n"
                     "        1.50\r\n        2.00\r\n       -3.00\r\n"),
            0);
  EXPECT_EQ(H.Comment, "Exported by ORV TVector component: v.asc");
  EXPECT_EQ(H.Cols, 1);
  EXPECT_EQ(H.Rows, 3);
  EXPECT_FALSE(H.Attr || H.ColNames || H.RowNames || H.Nominal);
  // Flags in any case, LF line breaks, a remark without TAB, no remark at all.
  ASSERT_EQ(ReadText("c\n2;cols\n 1 \ntrue False TRUE true\n\"a\" \"b\"\n\"r\" 1 2\n"), 0);
  EXPECT_EQ(H.Cols, 2);
  EXPECT_EQ(H.Rows, 1);
  EXPECT_TRUE(H.Attr && !H.ColNames && H.RowNames && H.Nominal);
}

TEST_F(AscHeader, ReadsTheCurveFitterFormWithThreeFlags) {
  ASSERT_EQ(ReadText("test\r\n2\t;nr. of columns\r\n2\t;nr. of rows\r\n"
                     "FALSE TRUE FALSE\t;row attributes, column names, row names\r\nx   y\r\n1.00\t2.00\r\n3.00\t4.00\r\n"),
            0);
  EXPECT_EQ(H.Comment, "test");
  EXPECT_EQ(H.Cols, 2);
  EXPECT_EQ(H.Rows, 2);
  EXPECT_TRUE(!H.Attr && H.ColNames && !H.RowNames && !H.Nominal);
}

TEST_F(AscHeader, BadHeadersGiveTheirCodeAndChangeNothing) {
  const std::string Flags = "FALSE FALSE FALSE FALSE\r\n";
  EXPECT_EQ(H.Read(Dir.File("missing.asc")), orv::ascNoFile);
  EXPECT_EQ(H.Read(Dir.Path()), orv::ascNoFile);
  EXPECT_EQ(ReadText(""), orv::ascShortHeader);
  EXPECT_EQ(ReadText("c\r\n1\r\n3\r\n"), orv::ascShortHeader);
  EXPECT_EQ(ReadText("c\r\n1 2\r\n1\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\nx\r\n1\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n0\r\n1\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n1\r\n-1\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n1\r\n1.5\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n1\r\n99999999999\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  // More values than the file has bytes: no caller should size storage from that.
  EXPECT_EQ(ReadText("c\r\n1000\r\n2000000\r\n" + Flags + "1\r\n"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n1\r\n4\r\n" + Flags + "1\r"), orv::ascBadCounts);
  EXPECT_EQ(ReadText("c\r\n1\r\n0\r\n" + Flags), 0);  // no rows is fine
  // A file cut short after the header is the caller's to read up to the cut.
  EXPECT_EQ(ReadText("c\r\n1\r\n4\r\n" + Flags + "1\r\n2\r\n"), 0);
  EXPECT_EQ(ReadText("c\r\n1\r\n3\r\nFALSE FALSE\r\n1\r\n2\r\n3\r\n"), orv::ascBadFlags);
  EXPECT_EQ(ReadText("c\r\n1\r\n3\r\nFALSE FALSE FALSE FALSE FALSE\r\n1\r\n2\r\n3\r\n"), orv::ascBadFlags);
  EXPECT_EQ(ReadText("c\r\n1\r\n3\r\nFALSE YES FALSE\r\n1\r\n2\r\n3\r\n"), orv::ascBadFlags);
  EXPECT_EQ(H.Comment, "unchanged");
  EXPECT_EQ(H.Cols, -99);
  EXPECT_TRUE(H.Attr && !H.ColNames);
}

}  // namespace
