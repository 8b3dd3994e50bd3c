// TKohonen: creation, the setters, the data copy, standardisation and its
// round trip through GetWeight and ApplyIt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_kohonen.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"

namespace orv {
namespace {

using test::FillRows;
using test::MapWeights;

TEST(Kohonen, CreationAndSetters) {
  SetRandSeed(7);
  const double U = Random();
  SetRandSeed(7);
  TKohonen K;
  EXPECT_EQ(K.ClassName(), "TKohonen");
  EXPECT_EQ(K.SizeX(), 1);
  EXPECT_EQ(K.SizeY(), 1);
  EXPECT_EQ(K.NrOfInSens(), 1);
  EXPECT_EQ(K.NrOfTrnSteps(), 200);
  EXPECT_EQ(K.InitialNeighbors(), 2);
  EXPECT_EQ(K.InitialAlpha(), 1.0);
  EXPECT_FALSE(K.Cyclic());
  EXPECT_EQ(K.GetWeight(1, 1, 1), (U - 0.5) * 0.2);  // the first number drawn
  EXPECT_EQ(K.GetWeight(2, 1, 1), 0.0);

  // Values below 1 change nothing (0 steps would divide by zero); a size
  // change rebuilds the weights as zeros.
  for (int32_t Bad : {0, -3, INT32_MIN}) {
    K.SetSizeX(Bad);
    K.SetSizeY(Bad);
    K.SetNrOfInSens(Bad);
    K.SetNrOfTrnSteps(Bad);
  }
  EXPECT_EQ(MapWeights(K), std::vector<double>{(U - 0.5) * 0.2});
  EXPECT_EQ(K.NrOfTrnSteps(), 200);
  K.SetSizeX(3);
  EXPECT_EQ(MapWeights(K), std::vector<double>(3, 0.0));
  K.SetSizeY(2);
  K.SetNrOfInSens(2);
  EXPECT_EQ(MapWeights(K), std::vector<double>(12, 0.0));
  EXPECT_EQ(K.TrainData()->NrOfColumns(), 2);
  EXPECT_EQ(K.StdDevVec()->NrOfElem(), 2);
  EXPECT_EQ(K.StdDevVec()->GetVal(2), 1.0);

  // TrainData := nullptr or a matrix without columns changes nothing; a
  // matrix is copied and later changes of it do not reach the map.
  TMatrix* Copy = K.TrainData();
  TVector* Means = K.MeanVec();
  K.SetTrainData(nullptr);
  TMatrix Empty;
  Empty.Resize(0, 4);
  K.SetTrainData(&Empty);
  EXPECT_EQ(K.NrOfInSens(), 2);
  TMatrix D;
  FillRows(D, {{1, 2, 3}, {4, 5, 6}});
  K.SetTrainData(&D);
  D.SetVal(1, 1, 99);
  EXPECT_EQ(K.TrainData(), Copy);  // the same object, new contents
  EXPECT_EQ(K.MeanVec(), Means);
  EXPECT_EQ(K.NrOfInSens(), 3);
  EXPECT_EQ(Copy->NrOfRows(), 2);
  EXPECT_EQ(Copy->GetVal(1, 1), 1.0);
  EXPECT_EQ(MapWeights(K), std::vector<double>(18, 0.0));
  K.SetTrainData(K.TrainData());  // itself
  EXPECT_EQ(Copy->GetVal(3, 2), 6.0);
  // More variables: the data is replaced by zeros of the new width.
  K.SetNrOfInSens(4);
  EXPECT_EQ(Copy->NrOfColumns(), 4);
  EXPECT_EQ(Copy->NrOfRows(), 2);
  EXPECT_EQ(Copy->GetVal(1, 1), 0.0);
}

TEST(Kohonen, StandardisationRoundTrip) {
  // Column 1 spread, column 2 constant (variance 0), column 3 spread larger.
  TMatrix D;
  FillRows(D, {{1, 5, -40}, {2, 5, 10}, {4, 5, 20}, {9, 5, 70}, {-3, 5, 0}});
  TKohonen K;
  K.SetTrainData(&D);
  K.SetSizeX(3);
  K.SetSizeY(2);
  K.SetNrOfTrnSteps(60);
  K.StandardizeData();
  // Means and deviations of the columns: numpy mean and std(ddof=1).
  const double Mean[] = {2.6, 5.0, 12.0}, Sd[] = {4.393176527297759, 0.0, 39.62322551231789};
  for (int32_t V = 1; V <= 3; ++V) {
    EXPECT_DOUBLE_EQ(K.MeanVec()->GetVal(V), Mean[V - 1]);
    EXPECT_NEAR(K.StdDevVec()->GetVal(V), Sd[V - 1], 1e-13);
    EXPECT_NEAR(K.TrainData()->GetVal(V, 4), V == 2 ? 0.0 : (D.GetVal(V, 4) - Mean[V - 1]) / Sd[V - 1], 1e-15);
  }
  // A second call composes with the first: the vectors keep the data's units.
  K.StandardizeData();
  for (int32_t V = 1; V <= 3; ++V) {
    EXPECT_NEAR(K.MeanVec()->GetVal(V), Mean[V - 1], 1e-14);
    EXPECT_NEAR(K.StdDevVec()->GetVal(V), Sd[V - 1], 1e-13);
  }
  SetRandSeed(3);
  K.Trainit();
  // Every node, given back in data units, is found again at distance ~0, and
  // a training object of the constant column keeps its distance small.
  for (int32_t X = 1; X <= 3; ++X)
    for (int32_t Y = 1; Y <= 2; ++Y) {
      TVector In;
      In.Resize(3);
      for (int32_t V = 1; V <= 3; ++V) In.SetVal(V, K.Weights(X, Y, V));
      int32_t BX = 0, BY = 0;
      double Dist = -1;
      K.ApplyIt(&In, BX, BY, Dist);
      EXPECT_LT(Dist, 1e-20) << X << "," << Y;
      EXPECT_EQ(K.GetWeight(X, Y, 2), 5.0);
      // Ties between nodes are possible after training; the distance is the test.
    }
  TVector Obj;
  Obj.Resize(3);
  for (int32_t V = 1; V <= 3; ++V) Obj.SetVal(V, D.GetVal(V, 2));
  int32_t BX = 0, BY = 0;
  double Dist = -1;
  K.ApplyIt(&Obj, BX, BY, Dist);
  EXPECT_LT(Dist, 0.5);

  // Nothing found: outputs stay, Distance is uc_MaxDouble.
  Obj.SetVal(1, std::nan(""));
  BX = BY = -7;
  K.ApplyIt(&Obj, BX, BY, Dist);
  EXPECT_EQ(Dist, uc_MaxDouble);
  EXPECT_EQ(BX, -7);
  Dist = 0;
  K.ApplyIt(nullptr, BX, BY, Dist);
  EXPECT_EQ(Dist, uc_MaxDouble);
}

TEST(Kohonen, ApplyWithoutStandardisationComparesRawValues) {
  // Means 0 and deviations 1: the squared distance of the raw input to the
  // stored weights; the first node wins among equals.
  TMatrix D;
  FillRows(D, {{0.0, 0.0}});
  TKohonen K;
  K.SetTrainData(&D);
  K.SetSizeX(2);
  K.SetSizeY(2);  // all weights 0.0: four equal nodes
  TVector In;
  In.Resize(2);
  In.SetVal(1, 3.0);
  In.SetVal(2, -4.0);
  int32_t BX = 0, BY = 0;
  double Dist = 0;
  K.ApplyIt(&In, BX, BY, Dist);
  EXPECT_EQ(Dist, 25.0);
  EXPECT_EQ(BX, 1);
  EXPECT_EQ(BY, 1);
}

}  // namespace
}  // namespace orv
