// TMemBasedLearner: binary and XML model files, their round trips and
// damaged or hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "orvcalckit/ORV_membl.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_sysutils.h"
#include "support/raises.h"
#include "support/tempfiles.h"

namespace {

using namespace orv;

std::string Bytes(const std::string& Name) {
  std::ifstream F(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(F), {}};
}

void Put(const std::string& Name, const std::string& B) {
  std::ofstream F(Name, std::ios::binary);
  F << B;
}

// A learner with every field set to something a file could lose.
void Fill(TMemBasedLearner& L) {
  L.SetComment("line 1\r\nline 2 <b>&amp;</b> \"q\"");
  L.SetModelName("model < & > name");
  L.SetDistMode(mblDistManhattan);
  L.SetScalingMode(mblStandardized);
  L.SetLocalModel(mblLMMajority);
  TDataTable& T = *L.ModelData;
  T.Resize(3, 4);
  T.SetComment("table <comment> & more");
  T.SetMScaleType(2, stNominal);
  T.SetNominalID(2, 1, "red & <b>");
  T.SetNominalID(2, 3, "blue");
  T.SetMScaleType(3, stRatio);
  T.SetColName(1, "  first col  ");
  T.SetColName(3, "a<b>&c");
  T.SetRowName(2, " row two ");
  for (int R = 1; R <= 4; ++R) {
    T.SetElem(1, R, R / 3.0);
    T.SetElem(2, R, R % 2 ? 1 : 3);
    T.SetElem(3, R, -1e300 * R);
    T.SetRowAttrib(R, R * 10);
  }
  T.SetElem(3, 4, 2.5e-310);
  T.SetCellState(1, 2, 0x41);
  T.SetCellState(3, 4, 0x22);
  L.SetAllVars(mblVarIndep);
  L.SetVarType(3, mblVarTarget);
  L.ProcessXmlTag(TMBLxmlTags::xmlNumNNb, "", "250");  // beyond the setter's limits
}

// Everything of a learner, as the binary file holds it.
std::string Snapshot(TMemBasedLearner& L, const test::TempDir& D) {
  L.StoreModelBin(D.File("snap.bin"), "snap");
  return Bytes(D.File("snap.bin"));
}

void ExpectRestored(TMemBasedLearner& L, double Tolerance) {
  const TDataTable& T = *L.ModelData;
  EXPECT_EQ(L.Comment(), "line 1\r\nline 2 <b>&amp;</b> \"q\"");
  EXPECT_EQ(L.ModelName(), "model < & > name");
  EXPECT_EQ(L.NumNearestNb(), 250);
  EXPECT_EQ(L.DistMode(), mblDistManhattan);
  EXPECT_EQ(L.ScalingMode(), mblStandardized);
  EXPECT_EQ(L.LocalModel(), mblLMMajority);
  ASSERT_EQ(T.NrOfColumns(), 3);
  ASSERT_EQ(T.NrOfRows(), 4);
  EXPECT_EQ(T.Comment(), "table <comment> & more");
  EXPECT_EQ(T.MScaleType(1), stInterval);
  EXPECT_EQ(T.MScaleType(2), stNominal);
  EXPECT_EQ(T.MScaleType(3), stRatio);
  EXPECT_EQ(T.NominalID(2, 1), "red & <b>");
  EXPECT_EQ(T.NominalID(2, 2), "");
  EXPECT_EQ(T.NominalID(2, 3), "blue");
  EXPECT_EQ(T.ColName(1), "first col");
  EXPECT_EQ(T.ColName(3), "a<b>&c");
  EXPECT_EQ(T.RowName(2), "row two");
  EXPECT_EQ(T.ColAttrib(3), mblVarTarget);
  EXPECT_EQ(T.ColAttrib(1), mblVarIndep);
  for (int R = 1; R <= 4; ++R) {
    EXPECT_NEAR(T.Elem(1, R), R / 3.0, Tolerance * R / 3.0);
    EXPECT_EQ(T.Elem(2, R), R % 2 ? 1 : 3);
    EXPECT_EQ(T.RowAttrib(R), R * 10);
  }
  EXPECT_NEAR(T.Elem(3, 3), -3e300, Tolerance * 3e300);
  EXPECT_NEAR(T.Elem(3, 4), 2.5e-310, Tolerance * 2.5e-310);
  EXPECT_EQ(T.CellState(1, 2), 0x41);
  EXPECT_EQ(T.CellState(3, 4), 0x22);
  EXPECT_EQ(T.CellState(2, 2), 0);
}

TEST(MemBasedLearnerFiles, BinaryRoundTrip) {
  test::TempDir D;
  TMemBasedLearner A;
  Fill(A);
  const std::string Id = "id with \"quotes\" and blanks";
  A.StoreModelBin(D.File("m.bin"), Id);
  TMemBasedLearner B;
  int Resized = 0;
  B.ModelData->OnResize = [&](TObject*, int32_t, int32_t, int32_t, int32_t) { ++Resized; };
  std::string Back = "unchanged";
  ASSERT_EQ(B.LoadModelBin(D.File("m.bin"), Back), 0);
  EXPECT_EQ(Back, Id);
  EXPECT_EQ(Resized, 1);
  ExpectRestored(B, 0.0);
  B.StoreModelBin(D.File("b.bin"), Id);
  EXPECT_EQ(Bytes(D.File("b.bin")), Bytes(D.File("m.bin")));  // exact
  // The loaded model drives the standardised distances as the original does.
  A.SetNumNearestNb(2);
  B.SetNumNearestNb(2);
  A.SetLocalModel(mblLMAverage);
  B.SetLocalModel(mblLMAverage);
  TDoubleArray SA{0.4, 2.0, 0.0}, SB = SA;
  EXPECT_EQ(A.ApplyModel(SA, 0, 0), B.ApplyModel(SB, 0, 0));
  EXPECT_EQ(SA, SB);
  EXPECT_EQ(A.CalcDist(SA, 2), B.CalcDist(SB, 2));
}

TEST(MemBasedLearnerFiles, BinaryRefusalsLeaveTheLearnerUnchanged) {
  test::TempDir D;
  TMemBasedLearner Src;
  Fill(Src);
  Src.StoreModelBin(D.File("m.bin"), "abc");
  const std::string Good = Bytes(D.File("m.bin"));
  TMemBasedLearner L;
  L.ModelData->Resize(2, 2);
  L.SetComment("before");
  const std::string Before = Snapshot(L, D);
  std::string Id = "kept";
  EXPECT_EQ(L.LoadModelBin(D.File("missing.bin"), Id), -2);
  // The signature differs in one letter's case.
  std::string Foreign = Good;
  Foreign[4] = 't';
  Put(D.File("x.bin"), Foreign);
  EXPECT_EQ(L.LoadModelBin(D.File("x.bin"), Id), -1);
  // Every truncation point.
  for (size_t N = 0; N < Good.size(); ++N) {
    Put(D.File("x.bin"), Good.substr(0, N));
    const int32_t R = L.LoadModelBin(D.File("x.bin"), Id);
    ASSERT_EQ(R, -2) << N;
  }
  EXPECT_EQ(Id, "kept");
  EXPECT_EQ(Snapshot(L, D), Before);
  // Crafted counts and ordinals: the offsets of items 7-9 and 11-13 in this file.
  const auto Counted = [](size_t Len) { return 8 + Len; };
  const size_t Modes = Counted(24) + Counted(10) + Counted(10) + Counted(Src.Comment().size()) +
                       Counted(Src.ModelName().size()) + 4;
  const size_t Sizes = Modes + 12 + Counted(Src.ModelData->Comment().size());
  ASSERT_EQ(Good.substr(Sizes - Src.ModelData->Comment().size(), Src.ModelData->Comment().size()),
            Src.ModelData->Comment());
  const auto Patch = [&](size_t At, int32_t V) {
    std::string B = Good;
    std::memcpy(&B[At], &V, 4);  // little-endian hosts
    Put(D.File("x.bin"), B);
    return L.LoadModelBin(D.File("x.bin"), Id);
  };
  const struct { size_t At; int32_t V; } Bad[] = {
      {Modes, 3},          {Modes, -1},         {Modes + 4, 2},       {Modes + 8, 4},
      {Sizes, 100000},     {Sizes + 4, 100000}, {Sizes, 2000000000},  {Sizes + 4, 2000000000},
      {Sizes, -1},         {Sizes + 8, -5},     {Sizes + 8, 1 << 30}, {Sizes + 12, 5}};
  for (const auto& B : Bad) EXPECT_EQ(Patch(B.At, B.V), -2) << B.At << " := " << B.V;
  EXPECT_EQ(Snapshot(L, D), Before);
  EXPECT_EQ(Patch(Sizes + 8, 150), 0);  // the honest header reads
}

TEST(MemBasedLearnerFiles, XmlRoundTrip) {
  test::TempDir D;
  TMemBasedLearner A;
  Fill(A);
  const std::string Id = "id \"with\" <blanks> & 'quotes'";
  A.StoreModelXML(D.File("m.xml"), Id);
  const std::string Text = Bytes(D.File("m.xml"));
  EXPECT_EQ(Text.substr(0, Text.find("<comment>")),
            "<?xml version=\"1.0\"?>\r\n<membasedlearner sig=\"Veltrax\" vers=\"1.000\" "
            "id=\"id &quot;with&quot; &lt;blanks&gt; &amp; 'quotes'\">\r\n<!-- TMemBasedLearner / Kovrant -->\r\n");
  EXPECT_NE(Text.find("<numnnb>250</numnnb>\r\n<distmode>manhattan</distmode>\r\n<scaling>standardized</scaling>\r\n"
                      "<locmodel>majority vote</locmodel>\r\n<modeldata>\r\n<datatable id=\"MBLModel\""),
            std::string::npos);
  EXPECT_NE(Text.find(">0.3333333333 1 -1e+300</values>"), std::string::npos);  // 10 significant digits
  TMemBasedLearner B;
  std::string Back = "x";
  ASSERT_EQ(B.LoadModelXML(D.File("m.xml"), Back), 0);
  EXPECT_EQ(Back, Id);
  ExpectRestored(B, 5e-10);
}

TEST(MemBasedLearnerFiles, XmlReaderEdges) {
  test::TempDir D;
  TMemBasedLearner L;
  std::string Id;
  const auto Load = [&](const std::string& Body) {
    Put(D.File("x.xml"), "<?xml version=\"1.0\"?>\r\n" + Body);
    return L.LoadModelXML(D.File("x.xml"), Id);
  };
  // Settings before an unknown element apply; reading ends there: -1.
  EXPECT_EQ(Load("<membasedlearner id=\"a b\">\r\n<modelname>n</modelname>\r\n<other/>\r\n<comment>c</comment>"), -1);
  EXPECT_EQ(Id, "a b");
  EXPECT_EQ(L.ModelName(), "n");
  EXPECT_EQ(L.Comment(), "");
  // Mode texts ignore case; one that matches none changes nothing.
  EXPECT_EQ(Load("<membasedlearner>\r\n<distmode>MANHATTAN</distmode>\r\n<scaling>none</scaling>"), -1);
  EXPECT_EQ(L.DistMode(), mblDistManhattan);
  EXPECT_EQ(L.ScalingMode(), mblUnscaled);
  EXPECT_EQ(Id, "");
  test::ExpectRaises<EConvertError>([&] { Load("<membasedlearner>\r\n<numnnb>3.5</numnnb>"); },
                                    "'3.5' is not a valid integer value");
  // Model data with sizes its text cannot hold, or without its end: refused, model kept.
  EXPECT_EQ(Load("<membasedlearner>\r\n<modeldata><datatable cols=\"100000\" rows=\"100000\"></datatable>"
                 "</modeldata>"),
            -1);
  EXPECT_EQ(Load("<membasedlearner>\r\n<modeldata><datatable cols=\"2\" rows=\"1\"><values row=\"1\">1 2</values>"),
            -1);
  EXPECT_EQ(L.ModelData->NrOfColumns(), 1);
  EXPECT_EQ(Load("<membasedlearner>\r\n<modeldata><datatable cols=\"2\" rows=\"1\"><values row=\"1\">1.5 "
                 "1.797693135e+308</values><values row=\"9\">1</values></datatable></modeldata>"),
            0);
  EXPECT_EQ(L.ModelData->Elem(1, 1), 1.5);
  EXPECT_EQ(L.ModelData->Elem(2, 1), 1.7976931348623157e308);
  EXPECT_THROW(L.LoadModelXML(D.File("missing.xml"), Id), EInOutError);
}

}  // namespace
