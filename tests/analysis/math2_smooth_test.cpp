// Smoothing, derivative and kernel filters of vectors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;
using test::FillValues;
using test::Values;

using TWindowed = std::function<void(const TVector*, int32_t, int32_t, TVector*, int32_t)>;
const std::vector<double> Signal = {2, 4, 3, 7, 1, 8, 6, 6, 0, 5, 9, 2};

// The centres' values with the h values at each end repeating the nearest one.
std::vector<double> WithEnds(std::vector<double> C, int32_t H) {
  C.insert(C.begin(), static_cast<std::size_t>(H), C.front());
  C.insert(C.end(), static_cast<std::size_t>(H), C.back());
  return C;
}

TEST(SavitzkyGolay, TablesInLowestTerms) {
  // scipy.signal.savgol_coeffs(w, 2, use='dot') and its deriv=2 form, the
  // centre half as fractions over their common denominator
  // (Fraction(c).limit_denominator(10**6)).
  std::vector<int32_t> Poly[] = {
      {35, 17, 12, -3}, {21, 7, 6, 3, -2}, {231, 59, 54, 39, 14, -21}, {429, 89, 84, 69, 44, 9, -36},
      {143, 25, 24, 21, 16, 9, 0, -11}, {1105, 167, 162, 147, 122, 87, 42, -13, -78},
      {323, 43, 42, 39, 34, 27, 18, 7, -6, -21}, {2261, 269, 264, 249, 224, 189, 144, 89, 24, -51, -136},
      {3059, 329, 324, 309, 284, 249, 204, 149, 84, 9, -76, -171},
      {805, 79, 78, 75, 70, 63, 54, 43, 30, 15, -2, -21, -42},
      {5175, 467, 462, 447, 422, 387, 342, 287, 222, 147, 62, -33, -138, -253}};
  std::vector<int32_t> Deriv2[] = {
      {7, -2, -1, 2}, {42, -4, -3, 0, 5}, {462, -20, -17, -8, 7, 28}, {429, -10, -9, -6, -1, 6, 15},
      {1001, -14, -13, -10, -5, 2, 11, 22}, {6188, -56, -53, -44, -29, -8, 19, 52, 91},
      {3876, -24, -23, -20, -15, -8, 1, 12, 25, 40}, {6783, -30, -29, -26, -21, -14, -5, 6, 19, 34, 51},
      {33649, -110, -107, -98, -83, -62, -35, -2, 37, 82, 133, 190},
      {17710, -44, -43, -40, -35, -28, -19, -8, 5, 20, 37, 56, 77},
      {26910, -52, -51, -48, -43, -36, -27, -16, -3, 12, 29, 48, 69, 92}};
  for (std::size_t R = 0; R < GolayRows; ++R) {
    Poly[R].resize(GolayCols), Deriv2[R].resize(GolayCols);
    EXPECT_EQ(std::vector<int32_t>(GolayPoly[R].begin(), GolayPoly[R].end()), Poly[R]) << "w = " << 2 * R + 5;
    EXPECT_EQ(std::vector<int32_t>(Golay2ndDeriv[R].begin(), Golay2ndDeriv[R].end()), Deriv2[R]) << "w = " << 2 * R + 5;
  }
}

TEST(WindowedFilters, InteriorValuesAgainstReferences) {
  // Centres of Signal, computed once: np.correlate(s, c, 'valid') with
  // c = np.ones(5)/5, [1,2,3,2,1]/9, scipy.signal.savgol_coeffs(5, 2,
  // use='dot') and its deriv=1, deriv=2 forms; scipy.signal.medfilt(s, 5)[2:-2].
  const struct {
    const char* Name;
    TWindowed Routine;
    std::vector<double> Centres;
  } Rows[] = {
      {"average", MovingAverageSmooth, {3.4, 4.6, 5.0, 5.6, 4.2, 5.0, 5.2, 4.4}},
      {"weighted", WeightedAverageSmooth,
       {3.7777777777777777, 4.555555555555555, 4.666666666666666, 5.666666666666667, 5.222222222222222,
        4.777777777777778, 4.111111111111111, 4.555555555555555}},
      {"median", MovingMedianSmooth, {3, 4, 6, 6, 6, 6, 6, 5}},
      {"polynomial", PolynomialSmooth,
       {4.97142857142857, 3.74285714285714, 4.857142857142854, 5.171428571428569, 7.628571428571425,
        3.857142857142854, 2.485714285714284, 4.8285714285714265}},
      {"first derivative", FirstDeriv, {0.1, 0.6, 0.7, 0.3, -0.4, -1.2, 0.5, 0.1}},
      {"second derivative", SecondDeriv,
       {-1.5714285714285738, 0.8571428571428548, 0.14285714285714035, 0.4285714285714246, -3.4285714285714315,
        1.14285714285714, 2.7142857142857117, -0.42857142857143216}}};
  TVector Src, Dst;
  FillValues(Src, Signal);
  for (const auto& R : Rows) {
    R.Routine(&Src, 1, 12, &Dst, 5);
    const std::vector<double> Want = WithEnds(R.Centres, 2);
    for (int32_t I = 1; I <= 12; ++I) EXPECT_NEAR(Dst.GetVal(I), Want[I - 1], 1e-12) << R.Name << ", element " << I;
  }
}

TEST(WindowedFilters, PolynomialFamilyExactAtEveryLength) {
  // Quadratic Savitzky-Golay fits are exact for cubics (the odd term drops
  // out of symmetric weights): x = 1 + 2k - k^2/2 + k^3/10 smooths to itself
  // with the second derivative -1 + 0.6k; the slope of 1 + 2k - k^2/2 is 2 - k.
  TVector Cubic, Quad;
  std::vector<double> C, Q;
  for (int K = 1; K <= 60; ++K) {
    C.push_back(1 + 2.0 * K - 0.5 * K * K + 0.1 * K * K * K);
    Q.push_back(1 + 2.0 * K - 0.5 * K * K);
  }
  FillValues(Cubic, C);
  FillValues(Quad, Q);
  TVector Smooth, Second, First;
  for (int32_t W = 5; W <= 25; W += 2) {
    PolynomialSmooth(&Cubic, 1, 60, &Smooth, W);
    SecondDeriv(&Cubic, 1, 60, &Second, W);
    FirstDeriv(&Quad, 1, 60, &First, W);
    for (int K = W / 2 + 1; K <= 60 - W / 2; ++K) {
      EXPECT_NEAR(Smooth.GetVal(K), C[K - 1], 1e-10) << "w = " << W << " k = " << K;
      EXPECT_NEAR(Second.GetVal(K), -1 + 0.6 * K, 1e-10) << "w = " << W << " k = " << K;
      EXPECT_NEAR(First.GetVal(K), 2.0 - K, 1e-12) << "w = " << W << " k = " << K;
    }
  }
}

TEST(WindowedFilters, MessagesInTheirOrder) {
  // Smallest and largest length (0: none); the averages name "smoothing
  // window(s)", the others "polynomial"; FirstDeriv's range is "for calculation".
  const struct {
    TWindowed Routine;
    std::string Name;
    int32_t Smallest, Largest;
  } Rows[] = {{MovingAverageSmooth, "MovingAverageSmooth", 3, 0},     {MovingMedianSmooth, "MovingMedianSmooth", 3, 0},
              {WeightedAverageSmooth, "WeightedAverageSmooth", 3, 0}, {PolynomialSmooth, "PolynomialSmooth", 5, 25},
              {SecondDeriv, "SecondDeriv", 5, 25},                    {FirstDeriv, "FirstDeriv", 5, 25}};
  TVector Src, Dst;
  FillValues(Src, std::vector<double>(50, 1.0));
  for (const auto& R : Rows) {
    const std::string N = R.Name + ": ", Window = R.Largest ? "polynomial" : "smoothing window";
    const std::string Undefined = N + "either SourceVec or DestVec is undefined",
                      Range = N + "specified range for " + (R.Name == "FirstDeriv" ? "calculation" : "smoothing") +
                              " is smaller than the length of the " + (R.Largest ? "polynomial" : "smoothing windows"),
                      Length = N + "length of " + Window + " is out of range", Odd = N + "length of " + Window + " must be odd";
    // (Source, Dest, Lo, Hi, w): the range check is strict and comes first,
    // and (0, 0) is no whole-vector range here.
    const struct { TVector *S, *D; int32_t Lo, Hi, W; const std::string& Message; } Cases[] = {
        {nullptr, &Dst, 1, 50, 5, Undefined}, {&Src, nullptr, 1, 50, 5, Undefined}, {&Src, &Dst, 10, 14, 5, Range},
        {&Src, &Dst, 0, 0, 3, Range}, {&Src, &Dst, 1, 50, 50, Range}, {&Src, &Dst, 1, 50, R.Smallest - 1, Length},
        {&Src, &Dst, 1, 50, R.Smallest - 2, Length}, {&Src, &Dst, 1, 50, -7, Length},
        {&Src, &Dst, 1, 50, R.Smallest + 1, Odd}, {&Src, &Dst, 1, 50, R.Largest ? 27 : -1, Length}};
    for (const auto& C : Cases)
      ExpectRaises<EORVMath2Error>([&] { R.Routine(C.S, C.Lo, C.Hi, C.D, C.W); }, C.Message);
    EXPECT_TRUE(Dst.NrOfElem() == 1 && Dst.IsEmpty()) << R.Name << ": nothing written before a check fails";
    // The smallest and largest lengths pass, and so does Hi - Lo = w; a
    // constant smooths to itself and has no slope, ends included.
    R.Routine(&Src, 10, 10 + R.Smallest, &Dst, R.Smallest);
    EXPECT_EQ(Dst.NrOfElem(), R.Smallest + 1) << R.Name;
    R.Routine(&Src, 1, 50, &Dst, R.Largest ? R.Largest : 49);
    const double Flat = R.Name.ends_with("Deriv") ? 0.0 : 1.0;
    EXPECT_EQ(Values(Dst), std::vector<double>(50, Flat)) << R.Name;
    Dst.Resize(1);
    Dst.SetIsEmpty(true);
  }
}

TEST(WindowedFilters, RangeDestinationAndEvents) {
  TVector Src, Dst;
  std::vector<double> X;
  for (int K = 1; K <= 50; ++K) X.push_back(K);
  FillValues(Src, X);
  // Bounds clamped into 1..50 and exchanged; a short destination grows.
  MovingAverageSmooth(&Src, 1000, 0, &Dst, 3);
  EXPECT_EQ(Values(Dst), WithEnds(std::vector<double>(X.begin() + 1, X.end() - 1), 1));
  // A sub-range lands at element 1; a longer destination keeps its tail.
  FillValues(Dst, std::vector<double>(8, -1.0));
  MovingAverageSmooth(&Src, 21, 26, &Dst, 3);
  EXPECT_EQ(Values(Dst), (std::vector<double>{22, 22, 23, 24, 25, 25, -1, -1}));
  // A handler sees one OnChange per element, one for the growth, one at the end.
  TVector Watched;
  int Changes = 0;
  Watched.OnChange = [&](TObject*) { ++Changes; };
  MovingAverageSmooth(&Src, 21, 26, &Watched, 3);
  EXPECT_EQ(Changes, 6 + 1 + 1);
  EXPECT_EQ(Values(Watched), (std::vector<double>{22, 22, 23, 24, 25, 25}));
  // The source may be the destination: every value from the unfiltered data.
  TVector Same, Copy;
  FillValues(Copy, Signal);
  for (auto F : {MovingAverageSmooth, MovingMedianSmooth, WeightedAverageSmooth, PolynomialSmooth}) {
    FillValues(Same, Signal);
    F(&Copy, 1, 12, &Dst, 5);
    F(&Same, 1, 12, &Same, 5);
    EXPECT_EQ(Values(Same), Values(Dst));
  }
}

TEST(WindowedFilters, EveryCentreTheSameInBlocksAndTail) {
  // Centres run in vector lanes, four vectors and then one at a time, and
  // the rest one by one; a centre's value depends on its window only, so
  // shifting the range start moves every centre through lanes and tail with
  // the same bits.
  std::mt19937_64 Gen(11);
  std::vector<double> X(90);
  for (double& V : X) V = std::ldexp(static_cast<double>(Gen() >> 11), -53) - 0.5;  // 53 random bits
  TVector Src, Whole, Shifted, Kernel;
  FillValues(Src, X);
  FillValues(Kernel, {0.3, -1.7, 2.1, 0.25, 1e-3});
  const auto Kernel5 = [&](const TVector* S, int32_t Lo, int32_t Hi, TVector* D, int32_t) {
    MovingKernelFilter(S, Lo, Hi, D, &Kernel);
  };
  const std::pair<TWindowed, int32_t> Rows[] = {{MovingAverageSmooth, 7}, {WeightedAverageSmooth, 9},
                                                {PolynomialSmooth, 25},   {FirstDeriv, 11},
                                                {SecondDeriv, 5},         {Kernel5, 5}};
  for (const auto& [Routine, W] : Rows) {
    Routine(&Src, 1, 90, &Whole, W);
    for (int32_t Lo = 2; Lo <= 17; ++Lo) {
      Routine(&Src, Lo, 90, &Shifted, W);
      for (int32_t I = Lo + W / 2; I <= 90 - W / 2; ++I)
        ASSERT_EQ(Shifted.GetVal(I - Lo + 1), Whole.GetVal(I)) << "w = " << W << ", from " << Lo << ", centre " << I;
    }
  }
}

TEST(MovingMedianSmooth, EqualsTheQuartilesMedianOfEachWindow) {
  // Random windows with repeated values, NaN, infinities and signed zeros,
  // against the definition: Quartiles over the window (NaN sorts last).
  std::mt19937 Gen(7);
  const double Pool[] = {0.0, -0.0, 1.0, -1.0, 2.5, std::nan(""), INFINITY, -INFINITY, 3.0, 1.0};
  std::vector<double> X(400);
  for (double& V : X) V = Gen() % 3 == 0 ? Pool[Gen() % 10] : static_cast<double>(Gen() % 1000) / 8;
  TVector Src, Dst, Window;
  FillValues(Src, X);
  for (const int32_t W : {3, 5, 25, 101}) {
    MovingMedianSmooth(&Src, 1, 400, &Dst, W);
    for (int32_t I = W / 2 + 1; I <= 400 - W / 2; ++I) {
      FillValues(Window, std::vector<double>(X.begin() + (I - 1 - W / 2), X.begin() + (I + W / 2)));
      double Q1, Q2, Q3;
      Window.Quartiles(0, 0, Q1, Q2, Q3);
      const double Got = Dst.GetVal(I);
      EXPECT_TRUE(Got == Q2 || (std::isnan(Got) && std::isnan(Q2))) << "w = " << W << ", centre " << I;
    }
  }
}

TEST(MovingKernelFilter, CorrelationWithRepeatedEdges) {
  TVector Src, Dst, Kernel;
  FillValues(Src, Signal);
  // np.correlate(np.pad(r, (K div 2, K - 1 - K div 2), 'edge'), k, 'valid'),
  // r the range; the kernel may also be the destination.
  FillValues(Kernel, {1, 2, -1});
  MovingKernelFilter(&Src, 0, 99, &Kernel, &Kernel);
  EXPECT_EQ(Values(Kernel), (std::vector<double>{2, 7, 3, 16, 1, 11, 14, 18, 1, 1, 21, 11}));
  // An even kernel takes one element more after the centre; the range 3..10
  // lands at element 1 and DestVec gets the source's 12 elements.
  FillValues(Kernel, {0.5, -1, 2, 0.25});
  FillValues(Dst, std::vector<double>(20, -1.0));
  MovingKernelFilter(&Src, 10, 3, &Dst, &Kernel);
  EXPECT_EQ(Values(Dst), (std::vector<double>{6.25, 12.75, -1.5, 20.0, 6.0, 10.0, -1.75, 14.25, -1, -1, -1, -1}));
  // The one-element kernel (1) copies the range.
  FillValues(Kernel, {1});
  MovingKernelFilter(&Src, 4, 6, &Dst, &Kernel);
  EXPECT_EQ(Values(Dst), (std::vector<double>{7, 1, 8, 20, 6, 10, -1.75, 14.25, -1, -1, -1, -1}));

  const std::string Undefined = "MovingKernelfilter: SourceVec, DestVec and/or FilterKernel is undefined";
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(nullptr, 1, 12, &Dst, &Kernel); }, Undefined);
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 1, 12, nullptr, &Kernel); }, Undefined);
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 1, 12, &Dst, nullptr); }, Undefined);
  FillValues(Kernel, {1, 1, 1});
  ExpectRaises<EORVMath2Error>([&] { MovingKernelFilter(&Src, 5, 7, &Dst, &Kernel); },
                               "MovingKernelfilter: specified range for smoothing is smaller than the length of the kernel");
  EXPECT_NO_THROW(MovingKernelFilter(&Src, 5, 8, &Dst, &Kernel));
}

}  // namespace
}  // namespace orv
