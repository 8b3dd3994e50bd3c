// Windowed-sinc kernels, Chebyshev filter design and zero-phase filtering.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::Column;
using test::ExpectRaises;
using test::FillRows;
using test::FillValues;
using test::Values;

void ExpectNear(const std::vector<double>& Got, const std::vector<double>& Want, double Tol, const std::string& What) {
  ASSERT_EQ(Got.size(), Want.size()) << What;
  for (std::size_t I = 0; I < Got.size(); ++I) EXPECT_NEAR(Got[I], Want[I], Tol) << What << ", element " << I + 1;
}

using TArrayForm2 = void (*)(int32_t, double, int32_t, TDoubleArray&);
using TVectorForm2 = void (*)(int32_t, double, int32_t, TVector*);
using TArrayForm3 = void (*)(int32_t, double, double, int32_t, TDoubleArray&);
using TVectorForm3 = void (*)(int32_t, double, double, int32_t, TVector*);

TEST(SincKernels, AgainstWindowedSincReferences) {
  // M = 7 (odd; centre 4) and 6 (even; the sinc centred on 4, the window on
  // 3.5). References computed once: the first row is
  // scipy.signal.firwin(7, 0.2, window='boxcar'); the others the sinc
  // sin(2 pi f (p - c)) / (p - c) times scipy.signal.windows.hamming(M + 2)[1:-1]
  // (blackman likewise), divided by its sum; high-pass = delta - low-pass;
  // band-stop = low-pass(0.1) + high-pass(0.3); band-pass = delta - band-stop.
  const struct {
    const char* Name;
    char Kind;  // L, H, S(top), P(ass)
    int32_t M;
    double F1, F2;
    int32_t Window;
    std::vector<double> Want;
  } Rows[] = {
      {"LP boxcar", 'L', 7, 0.1, 0, swRectangular,
       {0.0935439385005769, 0.1403159077508654, 0.1734400003046592, 0.1854003068877971, 0.1734400003046592,
        0.1403159077508654, 0.0935439385005769}},
      {"LP window 3 is rectangular", 'L', 7, 0.1, 0, 3,
       {0.0935439385005769, 0.1403159077508654, 0.1734400003046592, 0.1854003068877971, 0.1734400003046592,
        0.1403159077508654, 0.0935439385005769}},
      {"LP Hamming", 'L', 7, 0.2, 0, swHamming,
       {-0.013416903770732342, 0.05061075529138725, 0.262432670056578, 0.4007469568455343, 0.262432670056578,
        0.05061075529138725, -0.013416903770732342}},
      {"LP Blackman", 'L', 7, 0.3, 0, swBlackman,
       {-0.004158747072201476, -0.03191977778490005, 0.23501136889629293, 0.6021343119216173,
        0.23501136889629293, -0.03191977778490005, -0.004158747072201476}},
      {"LP cut-off clamped to 0.5", 'L', 3, 0.9, 0, swRectangular, {0, 1, 0}},
      {"HP Hamming", 'H', 7, 0.2, 0, swHamming,
       {0.013416903770732342, -0.05061075529138725, -0.262432670056578, 0.5992530431544657, -0.262432670056578,
        -0.05061075529138725, 0.013416903770732342}},
      {"BS Hamming, cut-offs reversed", 'S', 7, 0.3, 0.1, swHamming,
       {0.04310362526263196, 0.1625939238751541, -0.04138938522582217, 0.6713836721760724, -0.04138938522582217,
        0.1625939238751541, 0.04310362526263196}},
      {"BP Hamming", 'P', 7, 0.1, 0.3, swHamming,
       {-0.04310362526263196, -0.1625939238751541, 0.04138938522582217, 0.3286163278239276, 0.04138938522582217,
        -0.1625939238751541, -0.04310362526263196}},
      {"LP Hamming, even M", 'L', 6, 0.2, 0, swHamming,
       {-0.016921640766805728, 0.064395774925444, 0.30963353207850985, 0.40912076749012993, 0.20838910512251324,
        0.025382461150208598}},
  };
  for (const auto& R : Rows) {
    TDoubleArray K;
    TVector V;
    switch (R.Kind) {
      case 'L': CalcSincLPKernel(R.M, R.F1, R.Window, K), CalcSincLPKernel(R.M, R.F1, R.Window, &V); break;
      case 'H': CalcSincHPKernel(R.M, R.F1, R.Window, K), CalcSincHPKernel(R.M, R.F1, R.Window, &V); break;
      case 'S': CalcSincBSKernel(R.M, R.F1, R.F2, R.Window, K), CalcSincBSKernel(R.M, R.F1, R.F2, R.Window, &V); break;
      default: CalcSincBPKernel(R.M, R.F1, R.F2, R.Window, K), CalcSincBPKernel(R.M, R.F1, R.F2, R.Window, &V);
    }
    ExpectNear(K, R.Want, 1e-15, R.Name);
    EXPECT_EQ(Values(V), K) << R.Name << ": the vector form gives the array form's taps";
  }
}

TEST(SincKernels, SumsEmptyKernelsAndEvents) {
  TDoubleArray K;
  double S = 0;
  CalcSincLPKernel(101, 0.05, swBlackman, K);
  for (double V : K) S += V;
  EXPECT_NEAR(S, 1.0, 1e-15);
  CalcSincHPKernel(101, 0.05, swHamming, K);
  S = 0;
  for (double V : K) S += V;
  EXPECT_NEAR(S, 0.0, 1e-15);
  // Cut-off 0: every low-pass tap is 0, no division by the zero sum.
  CalcSincLPKernel(5, 0.0, swHamming, K);
  EXPECT_EQ(K, TDoubleArray(5, 0.0));
  // M <= 0: an empty array, a vector left as it was, for every form.
  TVector V;
  FillValues(V, {1, 2});
  const TArrayForm2 Arrays2[] = {CalcSincLPKernel, CalcSincHPKernel};
  const TVectorForm2 Vectors2[] = {CalcSincLPKernel, CalcSincHPKernel};
  const TArrayForm3 Arrays3[] = {CalcSincBSKernel, CalcSincBPKernel};
  const TVectorForm3 Vectors3[] = {CalcSincBSKernel, CalcSincBPKernel};
  for (const int32_t M : {0, -3}) {
    for (auto F : Arrays2) {
      K = {1.0};
      F(M, 0.2, swHamming, K);
      EXPECT_TRUE(K.empty()) << "M = " << M;
    }
    for (auto F : Arrays3) {
      K = {1.0};
      F(M, 0.1, 0.2, swHamming, K);
      EXPECT_TRUE(K.empty()) << "M = " << M;
    }
    for (auto F : Vectors2) F(M, 0.2, swHamming, &V);
    for (auto F : Vectors3) F(M, 0.1, 0.2, swHamming, &V);
    EXPECT_EQ(Values(V), (std::vector<double>{1, 2})) << "M = " << M;
  }
  for (auto F : Vectors2) EXPECT_NO_FATAL_FAILURE(F(5, 0.2, swHamming, nullptr));
  // One M = 1 kernel: the centre alone (low-pass 1, high-pass 0).
  CalcSincLPKernel(1, 0.2, swBlackman, K);
  EXPECT_EQ(K, TDoubleArray{1.0});
  CalcSincHPKernel(1, 0.2, swBlackman, K);
  EXPECT_EQ(K, TDoubleArray{0.0});
  // The vector form: resized (one OnChange) and one OnChange per tap.
  int Changes = 0;
  V.OnChange = [&](TObject*) { ++Changes; };
  CalcSincBPKernel(9, 0.1, 0.2, swRectangular, &V);
  EXPECT_EQ(V.NrOfElem(), 9);
  EXPECT_EQ(Changes, 1 + 9);
}

// The gain |H| of y(j) = A0 x(j) + sum (a(r) x(j - r) + b(r) y(j - r)) at
// frequency F (a fraction of the sampling rate).
double Gain(double A0, const TMatrix& C, double F) {
  const std::complex<double> Z1 = std::polar(1.0, -2 * std::numbers::pi * F);
  std::complex<double> Num = A0, Den = 1.0, Zr = 1.0;
  for (int32_t R = 1; R <= C.NrOfRows(); ++R) {
    Zr *= Z1;
    Num += C.GetVal(1, R) * Zr;
    Den -= C.GetVal(2, R) * Zr;
  }
  return std::abs(Num / Den);
}

TEST(CalcChebFilterCoeffs, RippleZeroIsButterworth) {
  // scipy.signal.butter(NPoles, 2 fc, btype): A0 = b[0], a(r) = b[r], b(r) = -a[r].
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Tol;
    std::vector<double> B, MinusA;
  } Rows[] = {
      {4, false, 0.1, 1e-15,
       {0.004824343357716231, 0.019297373430864923, 0.028946060146297387, 0.019297373430864923,
        0.004824343357716231},
       {2.3695130071820376, -2.31398841441588, 1.0546654058785676, -0.18737949236818488}},
      {4, true, 0.1, 1e-15,
       {0.43284664499029185, -1.7313865799611674, 2.597079869941751, -1.7313865799611674, 0.43284664499029185},
       {2.3695130071820376, -2.31398841441588, 1.0546654058785676, -0.18737949236818488}},
      {20, false, 0.2, 5e-13,
       {2.5414274314396884e-07, 5.082854862879377e-06, 4.828712119735408e-05, 0.00028972272718412446,
        0.001231321590532529, 0.003940229089704093, 0.009850572724260232, 0.019701145448520464,
        0.032014361353845756, 0.04268581513846101, 0.04695439665230711, 0.04268581513846101,
        0.032014361353845756, 0.019701145448520464, 0.009850572724260232, 0.003940229089704093,
        0.001231321590532529, 0.00028972272718412446, 4.828712119735408e-05, 5.082854862879377e-06,
        2.5414274314396884e-07},
       {3.996165131091756, -10.083846587386649, 17.87337092709631, -24.800640948497946, 27.761554327313462,
        -25.831647069564255, 20.219205150244107, -13.454809634159837, 7.6397906504937705, -3.708846070270791,
        1.5362348176274825, -0.5406014756101123, 0.16032351118025884, -0.03960249927496011,
        0.00800739572080301, -0.0012922688252216454, 0.00016019276177829013, -1.433233522893669e-05,
        8.242539974733513e-07, -2.28936491781287e-08}},
  };
  for (const auto& R : Rows) {
    const std::string Name = std::to_string(R.NPoles) + (R.HighPass ? " poles high-pass" : " poles low-pass");
    double A0 = 0;
    TMatrix C;
    CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, 0.0, A0, &C);
    ASSERT_EQ(C.NrOfColumns(), 2) << Name;
    ASSERT_EQ(C.NrOfRows(), R.NPoles) << Name;
    EXPECT_NEAR(A0, R.B[0], R.Tol) << Name;
    ExpectNear(Column(C, 1), std::vector<double>(R.B.begin() + 1, R.B.end()), R.Tol, Name + ", a");
    ExpectNear(Column(C, 2), R.MinusA, R.Tol, Name + ", b");
  }
  // Unit gain at 0: A0 + sum a = 1 - sum b.
  double A0 = 0;
  TMatrix C;
  CalcChebFilterCoeffs(4, false, 0.1, 0.5, A0, &C);
  double SA = A0, SB = 0;
  for (int32_t R = 1; R <= 4; ++R) {
    SA += C.GetVal(1, R);
    SB += C.GetVal(2, R);
  }
  EXPECT_NEAR(SA, 1 - SB, 1e-15);
  // A ripple too small to change 100 / (100 - Ripple) is the Butterworth
  // limit, not 0/0 (NaN coefficients).
  TMatrix Bw;
  double A0Bw = 0;
  CalcChebFilterCoeffs(6, true, 0.3, 0.0, A0Bw, &Bw);
  CalcChebFilterCoeffs(6, true, 0.3, 1e-15, A0, &C);
  EXPECT_EQ(A0, A0Bw);
  EXPECT_EQ(test::AllRows(C), test::AllRows(Bw));
}

TEST(CalcChebFilterCoeffs, PassBandRippleBetweenOneAndItsBound) {
  // From the normalised end (0 for low-pass, 0.5 for high-pass) the gain
  // swings between 1 and 100 / (100 - Ripple), reaching both, until it falls
  // off towards the cut-off; the stop band lies far below.
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Ripple;
  } Rows[] = {{4, false, 0.1, 0.5}, {6, true, 0.2, 10}, {8, false, 0.25, 29}, {12, false, 0.2, 2}, {2, true, 0.4, 1}};
  for (const auto& R : Rows) {
    double A0 = 0;
    TMatrix C;
    CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, R.Ripple, A0, &C);
    const double Top = 100 / (100 - R.Ripple);
    double Highest = 0, Edge = 0;
    for (int I = 0; I <= 100000; ++I) {
      const double F = R.HighPass ? 0.5 - (0.5 - R.FC) * I / 100000 : R.FC * I / 100000;
      const double G = Gain(A0, C, F);
      if (G < 1 - 1e-12) break;
      Highest = std::max(Highest, G);
      Edge = F;
    }
    const std::string Name = std::to_string(R.NPoles) + " poles, ripple " + std::to_string(R.Ripple);
    EXPECT_NEAR(Gain(A0, C, R.HighPass ? 0.5 : 0.0), 1.0, 1e-13) << Name;
    EXPECT_LE(Highest, Top * (1 + 1e-12)) << Name;
    EXPECT_NEAR(Highest, Top, 1e-6) << Name;
    EXPECT_GT(std::fabs(Edge - (R.HighPass ? 0.5 : 0.0)), 0.5 * std::fabs(R.FC - (R.HighPass ? 0.5 : 0.0))) << Name;
    EXPECT_LT(Gain(A0, C, R.HighPass ? R.FC / 2 : (R.FC + 0.5) / 2), 0.1) << Name;
  }
}

TEST(CalcChebFilterCoeffs, MessagesInTheirOrderNothingWritten) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const std::string Even = "CalcChebFilterCoeffs: NPoles must be even";
  const std::string Poles = "CalcChebFilterCoeffs: NPoles out of range";
  const std::string Ripple = "CalcChebFilterCoeffs: invalid Ripple value";
  const std::string Cutoff = "CalcChebFilterCoeffs: invalid cutoff frequency";
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Ripple;
    const std::string& Message;
  } Rows[] = {
      {3, false, 0.7, 50, Even},     {-1, false, 0.1, 0, Even},     {22, false, 0.7, 50, Poles},
      {24, false, 0.1, 0, Poles},    {0, false, 0.1, 0, Poles},     {-2, true, 0.1, 0, Poles},
      {4, false, 0.7, -0.1, Ripple}, {4, false, 0.1, 29.5, Ripple}, {4, false, 0.1, NaN, Ripple},
      {4, false, 0.0, 0, Cutoff},    {4, true, 0.0, 0, Cutoff},     {4, false, 0.5, 0, Cutoff},
      {4, true, 0.5, 0, Cutoff},     {4, false, -0.1, 0, Cutoff},   {4, false, NaN, 0, Cutoff},
  };
  TMatrix C;
  FillRows(C, {{7}});
  for (const auto& R : Rows) {
    double A0 = 42;
    ExpectRaises<EORVMath2Error>([&] { CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, R.Ripple, A0, &C); },
                                 R.Message);
    EXPECT_EQ(A0, 42) << R.Message;
  }
  EXPECT_EQ(test::AllRows(C), (std::vector<std::vector<double>>{{7}}));
  // The limits that pass: 2 and 20 poles, ripple 29, a nil matrix writes nothing.
  double A0 = 42;
  EXPECT_NO_THROW(CalcChebFilterCoeffs(20, true, 0.49, 29, A0, &C));
  EXPECT_EQ(C.NrOfRows(), 20);
  EXPECT_NO_THROW(CalcChebFilterCoeffs(2, false, 0.01, 0, A0, &C));
  EXPECT_EQ(C.NrOfRows(), 2);
  A0 = 42;
  CalcChebFilterCoeffs(4, false, 0.1, 0, A0, nullptr);
  EXPECT_EQ(A0, 42);
}

TEST(ChebychevFilter, ForwardBackwardAgainstLfilter) {
  // scipy.signal.butter(4, 0.2) as A0 and Coeffs (g = 5). Reference: u = g
  // zeros, then the source up to element Last + g (0 beyond it), padded with
  // zeros to Last + 2g; y = lfilter(b, a, u); z = lfilter(b, a, y[::-1])[::-1];
  // element e is z[e + g - 1].
  const double A0 = 0.004824343357716231;
  TMatrix C;
  FillRows(C, {{0.019297373430864923, 2.3695130071820376},
               {0.028946060146297387, -2.31398841441588},
               {0.019297373430864923, 1.0546654058785676},
               {0.004824343357716231, -0.18737949236818488}});
  TVector Src, Dst;
  FillValues(Src, {2, 4, 3, 7, 1, 8, 6, 6, 0, 5, 9, 2});
  const std::vector<double> To10 = {1.8272558839188555, 2.7860939065773787, 3.7688776890231304, 4.657610932446277,
                                    5.336891836341509,  5.706163053146573,  5.693315577245478,  5.2716695162463,
                                    4.476682435388609,  3.41646142005196};
  const std::vector<double> To12 = {1.88697688395313,   2.802782109922929,  3.7088969825720794, 4.505587809949197,
                                    5.1142583293960415, 5.482886851915762,  5.5836430132951165, 5.407654598304306,
                                    4.961140189597139,  4.2686281217495585, 3.3864821225711035, 2.416535987836056};
  ChebychevFilter(&Src, 0, 0, &Dst, A0, &C);
  ExpectNear(Values(Dst), To12, 1e-13, "whole vector");
  // A range from element 4: the same values there (the pass still starts at
  // element 1), the other elements untouched, Dest grown to Last.
  FillValues(Dst, {-1, -1});
  ChebychevFilter(&Src, 4, 10, &Dst, A0, &C);
  std::vector<double> Want = {-1, -1, 0};
  Want.insert(Want.end(), To10.begin() + 3, To10.end());
  ExpectNear(Values(Dst), Want, 1e-13, "elements 4..10");
  // Reversed bounds, bounds beyond the source, the source as destination.
  ChebychevFilter(&Src, 99, 1, &Src, A0, &C);
  ExpectNear(Values(Src), To12, 1e-13, "in place");
  // A constant signal keeps its value away from the ends.
  TVector Flat;
  FillValues(Flat, std::vector<double>(400, 3.5));
  ChebychevFilter(&Flat, 1, 400, &Flat, A0, &C);
  for (int32_t I = 150; I <= 250; ++I) EXPECT_NEAR(Flat.GetVal(I), 3.5, 1e-12) << "element " << I;
  // Any number of rows: scipy.signal.butter(3, 0.3), the same reference (g = 4).
  TMatrix C3;
  FillRows(C3, {{0.14859898907175956, 1.1619174836717323},
                {0.14859898907175956, -0.6959427557896507},
                {0.04953299635725318, 0.13776130125989283}});
  FillValues(Src, {2, 4, 3, 7, 1, 8, 6, 6, 0, 5, 9, 2});
  ChebychevFilter(&Src, 1, 12, &Dst, 0.04953299635725318, &C3);
  ExpectNear(Values(Dst),
             {1.8614614445864903, 3.0152288380356036, 4.0077154778927175, 4.731771750302489, 5.19343505997289,
              5.36602038998383, 5.219564851967411, 4.918838966115004, 4.744380636451093, 4.657978698204598,
              4.207284902794337, 3.1053759587517202},
             1e-13, "3 rows");
  // Nil arguments: nothing.
  FillValues(Dst, {-1});
  ChebychevFilter(nullptr, 1, 4, &Dst, A0, &C);
  ChebychevFilter(&Src, 1, 4, &Dst, A0, nullptr);
  EXPECT_EQ(Values(Dst), (std::vector<double>{-1}));
  EXPECT_NO_FATAL_FAILURE(ChebychevFilter(&Src, 1, 4, nullptr, A0, &C));
}

}  // namespace
}  // namespace orv
