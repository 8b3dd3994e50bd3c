// The external forms of TVector and TIntVector: binary stream, ASC file and
// plain text file, checked against bytes written out by hand here.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_filesys.h"
#include "orvcorekit/Orv_streams.h"
#include "support/components.h"
#include "support/tempfiles.h"

namespace {

using namespace orv;

std::string Slurp(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}
std::string Put(const test::TempDir& D, const std::string& Name, const std::string& Bytes) {
  std::ofstream(D.File(Name), std::ios::binary) << Bytes;
  return D.File(Name);
}
std::string Bytes(TMemoryStream& S) { return {reinterpret_cast<const char*>(S.Memory()), static_cast<size_t>(S.Size())}; }

TEST(VectorStreams, BinaryFormRoundTripsAndRefusesShortStreams) {
  TVector V(nullptr);
  test::FillValues(V, {1.5, 2, -3});
  TMemoryStream* S = nullptr;
  V.SaveToStream(S, 0, 0);
  std::unique_ptr<TMemoryStream> Own(S);
  ASSERT_NE(S, nullptr);
  // 1.0 and 3.0 as x87 extended numbers (Intel SDM vol. 1, 4.2.2), then the values.
  const std::string Want = std::string("\0\0\0\0\0\0\0\x80\xFF\x3F", 10) + std::string("\0\0\0\0\0\0\0\xC0\x00\x40", 10);
  EXPECT_EQ(Bytes(*S).substr(0, 20), Want);
  EXPECT_EQ(S->Size(), 50);
  const std::string Full = Bytes(*S);
  TVector W(nullptr);
  int32_t Changes = 0;
  W.OnChange = [&](TObject*) { ++Changes; };
  S->SetPosition(0);
  EXPECT_FALSE(W.LoadFromStream(S, false));  // one element, High = 3
  EXPECT_EQ(Changes, 0);
  S->SetPosition(0);
  EXPECT_TRUE(W.LoadFromStream(S, true));
  EXPECT_EQ(test::Values(W), (std::vector<double>{1.5, 2, -3}));
  EXPECT_EQ(Changes, 1 + 3 + 1);  // Resize, per element, at the end
  // Every cut of the stream: false and nothing changed; so is a nil stream.
  for (size_t Cut = 0; Cut < Full.size(); ++Cut) {
    TMemoryStream T;
    T.WriteBuffer(Full.data(), static_cast<int64_t>(Cut));
    T.SetPosition(0);
    TVector X(nullptr);
    EXPECT_FALSE(X.LoadFromStream(&T, true)) << Cut;
    EXPECT_EQ(X.NrOfElem(), 1) << Cut;
  }
  EXPECT_FALSE(W.LoadFromStream(nullptr, true));
  TFileStream* NoFile = nullptr;
  V.SaveToStream(NoFile, 0, 0);  // writes nothing
  // TIntVector: Longints; a lying High (2^31 - 1) is refused before sizing.
  TIntVector I(nullptr);
  test::FillValues(I, {7, -8, 9});
  TMemoryStream IS;
  TMemoryStream* P = &IS;
  I.SaveToStream(P, 3, 2);
  EXPECT_EQ(Bytes(IS), std::string("\2\0\0\0\3\0\0\0\xF8\xFF\xFF\xFF\x09\0\0\0", 16));
  TIntVector J(nullptr);
  J.Resize(3);
  IS.SetPosition(0);
  EXPECT_TRUE(J.LoadFromStream(&IS, false));
  EXPECT_EQ(test::Values(J), (std::vector<int32_t>{0, -8, 9}));
  TMemoryStream Lie;
  WriteLongintToStream(&Lie, 1);
  WriteLongintToStream(&Lie, 2147483647);
  WriteLongintToStream(&Lie, 5);
  Lie.SetPosition(0);
  EXPECT_FALSE(J.LoadFromStream(&Lie, true));
  // Low = High = 10^5: one value present sizes the vector to 10^5 elements.
  TMemoryStream Far;
  for (int32_t X : {100000, 100000, 5}) WriteLongintToStream(&Far, X);
  Far.SetPosition(0);
  EXPECT_TRUE(J.LoadFromStream(&Far, true));
  EXPECT_EQ(std::tuple(J.NrOfElem(), J.GetVal(1), J.GetVal(100000)), std::tuple(100000, 0, 5));
  // A size this word size cannot address (2^30 doubles in the 32-bit
  // build) is refused before anything changes.
  if constexpr (sizeof(void*) == 4) {
    TMemoryStream Huge;
    for (double X : {1073741824.0, 1073741824.0, 5.0}) WriteExtendedToStream(&Huge, X);
    Huge.SetPosition(0);
    EXPECT_FALSE(W.LoadFromStream(&Huge, true));
    EXPECT_EQ(W.NrOfElem(), 3);
  }
}

// A range saved away from element 1 loads back into a fresh vector, which
// takes High elements: through a memory stream, a file stream and the text file.
template <class V>
void CheckRangesLoadBack(const test::TempDir& D) {
  const struct {
    int32_t N, Low, High;
  } Ranges[] = {{100, 95, 100}, {20, 15, 15}};
  for (const auto& R : Ranges) {
    const std::string Name = std::string(V(nullptr).ClassName()) + " " + std::to_string(R.Low) + ".." +
                             std::to_string(R.High) + " of " + std::to_string(R.N);
    V Src(nullptr);
    Src.Resize(R.N);
    for (int32_t I = 1; I <= R.N; ++I) Src.SetVal(I, 3 * I - 7);
    const auto Check = [&](const V& Got, const std::string& Form) {
      ASSERT_EQ(Got.NrOfElem(), R.High) << Name << ", " << Form;
      for (int32_t I = 1; I <= R.High; ++I)
        EXPECT_EQ(Got.GetVal(I), I < R.Low ? 0 : Src.GetVal(I)) << Name << ", " << Form << ", element " << I;
    };
    TMemoryStream* Mem = nullptr;
    Src.SaveToStream(Mem, R.Low, R.High);
    std::unique_ptr<TMemoryStream> Own(Mem);
    Mem->SetPosition(0);
    V FromMem(nullptr);
    EXPECT_TRUE(FromMem.LoadFromStream(Mem, true)) << Name;
    Check(FromMem, "memory stream");
    const std::string Bin = D.File("range.bin");
    {
      TFileStream Out(Bin, fmCreate);
      Src.SaveToStream(&Out, R.Low, R.High);
    }
    TFileStream In(Bin, fmOpenRead);
    V FromFile(nullptr);
    EXPECT_TRUE(FromFile.LoadFromStream(&In, true)) << Name;
    Check(FromFile, "file stream");
    const std::string Txt = D.File("range.txt");
    if constexpr (std::is_same_v<V, TVector>)
      ASSERT_TRUE(Src.StoreOnFile(R.Low, R.High, 0, Txt));
    else
      ASSERT_TRUE(Src.StoreOnFile(R.Low, R.High, Txt));
    V FromText(nullptr);
    EXPECT_TRUE(FromText.LoadFromFile(Txt, true)) << Name;
    Check(FromText, "text file");
  }
}

TEST(VectorStreams, RangesAwayFromTheFirstElementLoadBack) {
  test::TempDir D;
  CheckRangesLoadBack<TVector>(D);
  CheckRangesLoadBack<TIntVector>(D);
}

TEST(VectorFiles, ASCExportIsByteExactAndReadsBack) {
  test::TempDir D;
  TVector V(nullptr);
  test::FillValues(V, {1.5, 2, -3});
  const std::string F = D.File("v.asc");
  ASSERT_EQ(V.ExportAsASC(F, 2, ""), 0);
  const std::string Head = "1\t;nr. of columns\r\n3\t;nr. of rows\r\n"
                           "FALSE FALSE FALSE FALSE\t;row attributes, column names, row names, nominal variables\r\n";
  EXPECT_EQ(Slurp(F), "Exported by ORV TVector component: " + F + "\r\n" + Head +
                          "        1.50\r\n        2.00\r\n       -3.00\r\n");
  TVector W(nullptr);
  std::string Comment;
  EXPECT_EQ(W.ImportASC(F, Comment), 0);
  EXPECT_EQ(test::Values(W), (std::vector<double>{1.5, 2, -3}));
  EXPECT_EQ(Comment, "Exported by ORV TVector component: " + F);
  TIntVector I(nullptr);
  test::FillValues(I, {4, -5, 6});
  ASSERT_EQ(I.ExportAsASC(F, "two\nlines"), 0);
  EXPECT_EQ(Slurp(F), "two lines\r\n" + Head + "4\r\n-5\r\n6\r\n");
  EXPECT_EQ(V.ExportAsASC(D.Path(), 2, ""), -1);
  EXPECT_EQ(I.ExportAsASC(D.File("no/such/dir.asc"), ""), -1);
}

TEST(VectorFiles, ImportASCCodesAndCuts) {
  test::TempDir D;
  const std::string H = "c\r\n1\t;x\r\n";
  // Body, expected code, values after (the vector starts as 9, 9, 9, 9).
  const struct { std::string Text; int32_t Code; std::vector<double> Want; } Rows[] = {
      {H + "3\r\nFALSE FALSE FALSE FALSE\r\n1.5\r\nNAN\r\n###\r\n", 0, {1.5, 0, 0}},
      {H + "3\r\nFALSE FALSE FALSE FALSE\r\n1.5\r\nabc\r\n7\r\n", -6, {1.5, 9}},
      {H + "3\r\nFALSE FALSE FALSE FALSE\r\n1.5 2.5\r\n", -6, {1.5, 2.5, 9}},
      {H + "2\r\nTRUE FALSE FALSE FALSE\r\n10 1e2\r\nx 3\r\n", -5, {100, 9}},
      {H + "2\r\nFALSE TRUE TRUE FALSE\r\n\"col a\"\r\n\"r 1\" -1\r\n\"r 2\" 2E-1\r\n", 0, {-1, 0.2}},
      {H + "0\r\nFALSE FALSE FALSE FALSE\r\n", ascBadCounts, {9, 9, 9, 9}},
      {H + "900\r\nFALSE FALSE FALSE FALSE\r\n1\r\n", ascBadCounts, {9, 9, 9, 9}},
      {"c\r\n2\r\n1\r\nFALSE FALSE FALSE FALSE\r\n1 2\r\n", -7, {9, 9, 9, 9}},
      {H + "1\r\nMAYBE\r\n1\r\n", ascBadFlags, {9, 9, 9, 9}},
      {"c\r\n1\r\n", ascShortHeader, {9, 9, 9, 9}}};
  for (const auto& R : Rows) {
    TVector V(nullptr);
    test::FillValues(V, {9, 9, 9, 9});
    std::string Comment = "kept";
    EXPECT_EQ(V.ImportASC(Put(D, "t.asc", R.Text), Comment), R.Code) << R.Text;
    EXPECT_EQ(test::Values(V), R.Want) << R.Text;
  }
  TVector V(nullptr);
  std::string Comment;
  EXPECT_EQ(V.ImportASC(D.File("none.asc"), Comment), -8);
  // TIntVector rounds half to even.
  TIntVector I(nullptr);
  EXPECT_EQ(I.ImportASC(Put(D, "i.asc", H + "4\r\nFALSE FALSE FALSE FALSE\r\n2.5\r\n3.5\r\n-2.5\r\n1e3\r\n"), Comment), 0);
  EXPECT_EQ(test::Values(I), (std::vector<int32_t>{2, 4, -2, 1000}));
}

TEST(VectorFiles, PlainTextFileWritesItsRangeAndReadsItBack) {
  test::TempDir D;
  TVector V(nullptr);
  test::FillValues(V, {1.5, -2.3125, 3, 4, 5});
  const std::string F = D.File("v.txt");
  // Range and precision rules, Str's forms (scientific: sign or blank, one
  // digit, width - 9 further digits, E, sign, four exponent digits).
  const struct { int32_t First, Last, Prec; std::string Want; } Rows[] = {
      {5, 2, 1, "2 5\r\n-2.3\r\n3.0\r\n4.0\r\n5.0\r\n"},
      {1, 2, -7, "1 2\r\n1.50\r\n-2.31\r\n"},
      {1, 1, -1, "1 1\r\n 1.5000E+0000\r\n"},
      {2, 2, -2, "2 2\r\n-2.31250000000000000E+0000\r\n"},
      {0, 0, 0, "1 5\r\n2\r\n-2\r\n3\r\n4\r\n5\r\n"}};
  for (const auto& R : Rows) {
    EXPECT_TRUE(V.StoreOnFile(R.First, R.Last, R.Prec, F));
    EXPECT_EQ(Slurp(F), R.Want) << R.First << " " << R.Last << " " << R.Prec;
  }
  TIntVector I(nullptr);
  test::FillValues(I, {7, 8});
  EXPECT_TRUE(I.StoreOnFile(0, 0, F));
  EXPECT_EQ(Slurp(F), "1 0\r\n");
  EXPECT_TRUE(I.StoreOnFile(9, -3, F));
  EXPECT_EQ(Slurp(F), "1 2\r\n7\r\n8\r\n");
  // A directory, a missing folder and a full disk: false.
  EXPECT_FALSE(V.StoreOnFile(0, 0, 2, D.Path()));
  EXPECT_FALSE(I.StoreOnFile(0, 0, D.File("no/such.txt")));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(V.StoreOnFile(0, 0, 2, "/dev/full"));
  }

  // Reading: only Low..High are set; an unreadable value is skipped.
  TVector W(nullptr);
  test::FillValues(W, {9, 9, 9, 9, 9});
  int32_t Changes = 0;
  W.OnChange = [&](TObject*) { ++Changes; };
  EXPECT_TRUE(W.LoadFromFile(Put(D, "r.txt", "3 4\n1.25\n-2\n"), false));
  EXPECT_EQ(test::Values(W), (std::vector<double>{9, 9, 1.25, -2, 9}));
  EXPECT_EQ(Changes, 3);
  EXPECT_TRUE(W.LoadFromFile(Put(D, "r.txt", "1 3  x 6 7"), true));
  EXPECT_EQ(test::Values(W), (std::vector<double>{9, 6, 7}));
  // Too short a vector, an unreadable range, a range the file cannot hold, no file.
  const std::pair<std::string, bool> Bad[] = {
      {"1 9\n1 2 3 4 5 6 7 8 9\n", false}, {"a 3\n1 2 3", true}, {"1 2000000000\n1 2 3", true}, {"-2147483648 5\n1", true}};
  for (const auto& [Text, Adjust] : Bad) EXPECT_FALSE(W.LoadFromFile(Put(D, "r.txt", Text), Adjust)) << Text;
  EXPECT_EQ(W.NrOfElem(), 3);
  EXPECT_FALSE(W.LoadFromFile(D.File("none.txt"), true));
  // AutoDetect: the lines with a digit give the size; then word by word, so
  // "x" is skipped and the second element keeps its value.
  EXPECT_TRUE(W.LoadFromFile(Put(D, "a.txt", "1.5\n\nx\n-2e1\n 3\n"), true, true));
  EXPECT_EQ(test::Values(W), (std::vector<double>{1.5, 6, -20}));
  EXPECT_FALSE(W.LoadFromFile(D.File("none.txt"), true, true));
  TIntVector J(nullptr);
  EXPECT_TRUE(J.LoadFromFile(Put(D, "i.txt", "1 3\n0.5 1.5 -7.9"), true));
  EXPECT_EQ(test::Values(J), (std::vector<int32_t>{0, 2, -8}));
}

}  // namespace
