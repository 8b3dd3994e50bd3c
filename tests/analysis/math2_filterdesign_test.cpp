// Windowed-sinc kernels, Chebyshev filter design and zero-phase filtering.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
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

// A symmetric kernel from its first half and centre.
std::vector<double> Mirrored(std::vector<double> V) {
  V.insert(V.end(), V.rbegin() + 1, V.rend());
  return V;
}

// The four kernels in both forms; Kind L, H, S(top), P(ass).
void Kernel(char Kind, int32_t M, double F1, double F2, int32_t Window, TDoubleArray& A, TVector* V) {
  switch (Kind) {
    case 'L': CalcSincLPKernel(M, F1, Window, A), CalcSincLPKernel(M, F1, Window, V); break;
    case 'H': CalcSincHPKernel(M, F1, Window, A), CalcSincHPKernel(M, F1, Window, V); break;
    case 'S': CalcSincBSKernel(M, F1, F2, Window, A), CalcSincBSKernel(M, F1, F2, Window, V); break;
    default: CalcSincBPKernel(M, F1, F2, Window, A), CalcSincBPKernel(M, F1, F2, Window, V);
  }
}

TEST(SincKernels, AgainstWindowedSincReferences) {
  // Computed once: row 1 scipy.signal.firwin(7, 0.2, window='boxcar'); the
  // others the sinc sin(2 pi f (p - c)) / (p - c) times
  // scipy.signal.windows.hamming(M + 2)[1:-1] (blackman likewise) over its
  // sum; high-pass = delta - low-pass; band-stop = low-pass(0.1) +
  // high-pass(0.3); band-pass = delta - band-stop. M = 6: the sinc centred
  // on 4, the window on 3.5.
  const std::vector<double> Boxcar = Mirrored({0.0935439385005769, 0.1403159077508654, 0.1734400003046592,
                                               0.1854003068877971});
  const struct {
    const char* Name;
    char Kind;
    int32_t M;
    double F1, F2;
    int32_t Window;
    std::vector<double> Want;
  } Rows[] = {
      {"LP boxcar", 'L', 7, 0.1, 0, swRectangular, Boxcar},
      {"LP window 3 is rectangular", 'L', 7, 0.1, 0, 3, Boxcar},
      {"LP Hamming", 'L', 7, 0.2, 0, swHamming,
       Mirrored({-0.013416903770732342, 0.05061075529138725, 0.262432670056578, 0.4007469568455343})},
      {"LP Blackman", 'L', 7, 0.3, 0, swBlackman,
       Mirrored({-0.004158747072201476, -0.03191977778490005, 0.23501136889629293, 0.6021343119216173})},
      {"LP cut-off clamped to 0.5", 'L', 3, 0.9, 0, swRectangular, {0, 1, 0}},
      {"LP cut-off 0: no division by the zero sum", 'L', 5, 0.0, 0, swHamming, {0, 0, 0, 0, 0}},
      {"LP M = 1", 'L', 1, 0.2, 0, swBlackman, {1}},
      {"HP Hamming", 'H', 7, 0.2, 0, swHamming,
       Mirrored({0.013416903770732342, -0.05061075529138725, -0.262432670056578, 0.5992530431544657})},
      {"BS Hamming, cut-offs reversed", 'S', 7, 0.3, 0.1, swHamming,
       Mirrored({0.04310362526263196, 0.1625939238751541, -0.04138938522582217, 0.6713836721760724})},
      {"BP Hamming", 'P', 7, 0.1, 0.3, swHamming,
       Mirrored({-0.04310362526263196, -0.1625939238751541, 0.04138938522582217, 0.3286163278239276})},
      {"LP Hamming, even M", 'L', 6, 0.2, 0, swHamming,
       {-0.016921640766805728, 0.064395774925444, 0.30963353207850985, 0.40912076749012993, 0.20838910512251324,
        0.025382461150208598}}};
  for (const auto& R : Rows) {
    TDoubleArray A;
    TVector V;
    Kernel(R.Kind, R.M, R.F1, R.F2, R.Window, A, &V);
    ExpectNear(A, R.Want, 1e-15, R.Name);
    EXPECT_EQ(Values(V), A) << R.Name << ": the vector form gives the array form's taps";
  }
}

TEST(SincKernels, EmptyKernelsAndEvents) {
  // M <= 0: an empty array and a vector left as it was, in every form (the
  // high-pass and band-pass forms have no centre to add 1 to).
  TVector V;
  FillValues(V, {1, 2});
  for (const char Kind : {'L', 'H', 'S', 'P'})
    for (const int32_t M : {0, -3}) {
      TDoubleArray A = {1.0};
      Kernel(Kind, M, 0.1, 0.2, swHamming, A, &V);
      EXPECT_TRUE(A.empty()) << Kind << " M = " << M;
      EXPECT_EQ(Values(V), (std::vector<double>{1, 2})) << Kind << " M = " << M;
    }
  CalcSincHPKernel(5, 0.2, swHamming, static_cast<TVector*>(nullptr));
  // The vector form: resized (one OnChange) and one OnChange per tap.
  int Changes = 0;
  V.OnChange = [&](TObject*) { ++Changes; };
  CalcSincBPKernel(9, 0.1, 0.2, swRectangular, &V);
  EXPECT_EQ(V.NrOfElem(), 9);
  EXPECT_EQ(Changes, 1 + 9);
}

// The gain |H| of y(j) = A0 x(j) + sum (a(r) x(j - r) + b(r) y(j - r)) at F.
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
  // scipy.signal.butter(NPoles, 2 fc, btype) = (b, a): A0 = b[0],
  // a(r) = b[r] (symmetric: the first half is given), b(r) = -a[r].
  const std::vector<double> MinusA4 = {2.3695130071820376, -2.31398841441588, 1.0546654058785676, -0.18737949236818488};
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Tol;
    std::vector<double> B, MinusA;
  } Rows[] = {
      {4, false, 0.1, 1e-15, Mirrored({0.004824343357716231, 0.019297373430864923, 0.028946060146297387}), MinusA4},
      {4, true, 0.1, 1e-15, Mirrored({0.43284664499029185, -1.7313865799611674, 2.597079869941751}), MinusA4},
      {20, false, 0.2, 5e-13,
       Mirrored({2.5414274314396884e-07, 5.082854862879377e-06, 4.828712119735408e-05, 0.00028972272718412446,
                 0.001231321590532529, 0.003940229089704093, 0.009850572724260232, 0.019701145448520464,
                 0.032014361353845756, 0.04268581513846101, 0.04695439665230711}),
       {3.996165131091756, -10.083846587386649, 17.87337092709631, -24.800640948497946, 27.761554327313462,
        -25.831647069564255, 20.219205150244107, -13.454809634159837, 7.6397906504937705, -3.708846070270791,
        1.5362348176274825, -0.5406014756101123, 0.16032351118025884, -0.03960249927496011, 0.00800739572080301,
        -0.0012922688252216454, 0.00016019276177829013, -1.433233522893669e-05, 8.242539974733513e-07,
        -2.28936491781287e-08}}};
  for (const auto& R : Rows) {
    const std::string Name = std::to_string(R.NPoles) + (R.HighPass ? " poles high-pass" : " poles low-pass");
    double A0 = 0;
    TMatrix C;
    CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, 0.0, A0, &C);
    ASSERT_EQ(C.NrOfColumns(), 2) << Name;
    EXPECT_NEAR(A0, R.B[0], R.Tol) << Name;
    ExpectNear(Column(C, 1), std::vector<double>(R.B.begin() + 1, R.B.end()), R.Tol, Name + ", a");
    ExpectNear(Column(C, 2), R.MinusA, R.Tol, Name + ", b");
  }
  // A ripple too small to change 100 / (100 - Ripple) is the Butterworth
  // limit, not 0/0 (NaN coefficients).
  TMatrix Bw, C;
  double A0Bw = 0, A0 = 0;
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
    const double Top = 100 / (100 - R.Ripple), End = R.HighPass ? 0.5 : 0.0;
    double Highest = 0, Edge = End;
    for (int I = 0; I <= 100000; ++I) {
      const double F = End + (R.FC - End) * I / 100000, G = Gain(A0, C, F);
      if (G < 1 - 1e-12) break;
      Highest = std::max(Highest, G);
      Edge = F;
    }
    const std::string Name = std::to_string(R.NPoles) + " poles, ripple " + std::to_string(R.Ripple);
    EXPECT_NEAR(Gain(A0, C, End), 1.0, 1e-13) << Name;
    EXPECT_LE(Highest, Top * (1 + 1e-12)) << Name;
    EXPECT_NEAR(Highest, Top, 1e-6) << Name;
    EXPECT_GT(std::fabs(Edge - End), 0.5 * std::fabs(R.FC - End)) << Name;
    EXPECT_LT(Gain(A0, C, R.HighPass ? R.FC / 2 : (R.FC + 0.5) / 2), 0.1) << Name;
  }
}

TEST(CalcChebFilterCoeffs, MessagesInTheirOrderNothingWritten) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const std::string Even = "CalcChebFilterCoeffs: NPoles must be even", Poles = "CalcChebFilterCoeffs: NPoles out of range",
                    Ripple = "CalcChebFilterCoeffs: invalid Ripple value",
                    Cutoff = "CalcChebFilterCoeffs: invalid cutoff frequency";
  // Cut-offs 0 and 0.5 divide by zero or put every pole on the unit circle;
  // 22 poles and more overrun the 23-entry arrays; 0 poles design nothing.
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Ripple;
    const std::string& Message;
  } Rows[] = {{3, false, 0.7, 50, Even},     {-1, false, 0.1, 0, Even},     {22, false, 0.7, 50, Poles},
              {24, false, 0.1, 0, Poles},    {0, false, 0.1, 0, Poles},     {-2, true, 0.1, 0, Poles},
              {4, false, 0.7, -0.1, Ripple}, {4, false, 0.1, 29.5, Ripple}, {4, false, 0.1, NaN, Ripple},
              {4, false, 0.0, 0, Cutoff},    {4, true, 0.0, 0, Cutoff},     {4, false, 0.5, 0, Cutoff},
              {4, true, 0.5, 0, Cutoff},     {4, false, -0.1, 0, Cutoff},   {4, false, NaN, 0, Cutoff}};
  TMatrix C;
  FillRows(C, {{7}});
  double A0 = 42;
  for (const auto& R : Rows)
    ExpectRaises<EORVMath2Error>([&] { CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, R.Ripple, A0, &C); },
                                 R.Message);
  EXPECT_EQ(A0, 42);
  EXPECT_EQ(test::AllRows(C), (std::vector<std::vector<double>>{{7}}));
  CalcChebFilterCoeffs(4, false, 0.1, 0, A0, nullptr);
  EXPECT_EQ(A0, 42) << "a nil matrix: nothing written";
  // The limits that pass: 2 and 20 poles, ripple 29.
  CalcChebFilterCoeffs(20, true, 0.3, 29, A0, &C);
  EXPECT_EQ(C.NrOfRows(), 20);
  CalcChebFilterCoeffs(2, false, 0.01, 0, A0, &C);
  EXPECT_EQ(C.NrOfRows(), 2);
}

TEST(CalcChebFilterCoeffs, RecursionsThatWouldBeUnstableAreRefused) {
  // Decided on the expanded coefficients by exact rational arithmetic
  // (Python fractions: the Schur-Cohn step-down, and 1 - sum b(r) S^r
  // against 2^-52 sum |b(r)|) and mpmath.polyroots at 80 digits (the
  // largest |pole| in brackets). Refused: a pole outside the unit circle,
  // or poles inside but within the coefficients' rounding of the circle at
  // the pass-band end: (20, 0.05, 0) has 1.8e-11 there against 1.4e-10 of
  // rounding and filtered a constant 4 % off. (10, 0.01, 0.5) gave 1e165.
  // A test in double decides (14, 0.02, 0.5) high-pass and (14, 0.02, 5)
  // high-pass (kept below) wrongly.
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Ripple;
  } Refused[] = {{10, false, 0.01, 0.5},  // (1.0123)
                 {20, false, 0.05, 0},    // (0.98632)
                 {14, false, 0.02, 0},    // (0.99478)
                 {14, true, 0.02, 0.5},   // (1.0033)
                 {20, true, 0.49, 29},    // (1.3182)
                 {12, true, 0.49, 0.5},   // (1.0622)
                 {6, false, 0.001, 29}};  // (1.0000671)
  TMatrix C;
  FillRows(C, {{7}});
  double A0 = 42;
  for (const auto& R : Refused)
    ExpectRaises<EORVMath2Error>([&] { CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, R.Ripple, A0, &C); },
                                 "CalcChebFilterCoeffs: recursion would be unstable");
  EXPECT_EQ(A0, 42);
  EXPECT_EQ(test::AllRows(C), (std::vector<std::vector<double>>{{7}}));
  // Stable designs up to the limit, by the same references: each filters a
  // constant (low-pass) or the alternating sequence (high-pass) into values
  // that stay bounded; where the poles keep their distance, into the input.
  const struct {
    int32_t NPoles;
    bool HighPass;
    double FC, Ripple, Tol;  // Tol 0: bounded only
  } Kept[] = {{6, false, 0.001, 0, 0},  {8, false, 0.01, 0.5, 0}, {10, false, 0.01, 0, 0}, {10, true, 0.49, 0, 0},
              {14, true, 0.02, 5, 0},   {14, false, 0.05, 29, 0}, {18, false, 0.05, 0, 0}, {20, false, 0.1, 0.5, 0},
              {20, false, 0.2, 0, 1e-9}, {20, true, 0.3, 29, 1e-6}, {4, false, 0.1, 0.5, 1e-12}, {2, true, 0.4, 1, 1e-12}};
  const int32_t N = 40000;
  for (const auto& R : Kept) {
    const std::string Name = std::to_string(R.NPoles) + (R.HighPass ? " poles high-pass at " : " poles low-pass at ") +
                             std::to_string(R.FC) + ", ripple " + std::to_string(R.Ripple);
    ASSERT_NO_THROW(CalcChebFilterCoeffs(R.NPoles, R.HighPass, R.FC, R.Ripple, A0, &C)) << Name;
    TVector Src, Dst;
    Src.Resize(N);
    for (int32_t I = 1; I <= N; ++I) Src.SetVal(I, R.HighPass && I % 2 == 0 ? -1.0 : 1.0);
    ChebychevFilter(&Src, 0, 0, &Dst, A0, &C);
    double Largest = 0;
    for (int32_t I = 1; I <= N; ++I) Largest = std::fmax(Largest, std::fabs(Dst.GetVal(I)));
    EXPECT_LT(Largest, 2) << Name;
    if (R.Tol > 0) {
      EXPECT_NEAR(std::fabs(Dst.GetVal(N / 2)), 1, R.Tol) << Name;
    }
  }
}

TEST(ChebychevFilter, ForwardBackwardAgainstLfilter) {
  // Coefficients of scipy.signal.butter(4, 0.2) (g = 5) and butter(3, 0.3)
  // (g = 4). Reference: u = g zeros, the source up to element Last + g,
  // zeros up to Last + 2g; y = lfilter(b, a, u); z = lfilter(b, a,
  // y[::-1])[::-1]; element e is z[e + g - 1].
  const double A0 = 0.004824343357716231;
  TMatrix C, C3;
  FillRows(C, {{0.019297373430864923, 2.3695130071820376},
               {0.028946060146297387, -2.31398841441588},
               {0.019297373430864923, 1.0546654058785676},
               {0.004824343357716231, -0.18737949236818488}});
  FillRows(C3, {{0.14859898907175956, 1.1619174836717323},
                {0.14859898907175956, -0.6959427557896507},
                {0.04953299635725318, 0.13776130125989283}});
  const std::vector<double> Signal = {2, 4, 3, 7, 1, 8, 6, 6, 0, 5, 9, 2};
  const std::vector<double> To10 = {1.8272558839188555, 2.7860939065773787, 3.7688776890231304, 4.657610932446277,
                                    5.336891836341509,  5.706163053146573,  5.693315577245478,  5.2716695162463,
                                    4.476682435388609,  3.41646142005196};
  const std::vector<double> To12 = {1.88697688395313,   2.802782109922929,  3.7088969825720794, 4.505587809949197,
                                    5.1142583293960415, 5.482886851915762,  5.5836430132951165, 5.407654598304306,
                                    4.961140189597139,  4.2686281217495585, 3.3864821225711035, 2.416535987836056};
  TVector Src, Dst;
  FillValues(Src, Signal);
  ChebychevFilter(&Src, 0, 0, &Dst, A0, &C);
  ExpectNear(Values(Dst), To12, 1e-13, "whole vector");
  ChebychevFilter(&Src, 1, 12, &Dst, 0.04953299635725318, &C3);
  ExpectNear(Values(Dst),
             {1.8614614445864903, 3.0152288380356036, 4.0077154778927175, 4.731771750302489, 5.19343505997289,
              5.36602038998383, 5.219564851967411, 4.918838966115004, 4.744380636451093, 4.657978698204598,
              4.207284902794337, 3.1053759587517202},
             1e-13, "3 rows");
  // A range from element 4: the values of the whole pass from element 1
  // there (the source beyond Last is read), the rest untouched, Dest grown.
  FillValues(Dst, {-1, -1});
  ChebychevFilter(&Src, 4, 10, &Dst, A0, &C);
  std::vector<double> Want = {-1, -1, 0};
  Want.insert(Want.end(), To10.begin() + 3, To10.end());
  ExpectNear(Values(Dst), Want, 1e-13, "elements 4..10");
  // Reversed bounds beyond the source, the source as destination.
  ChebychevFilter(&Src, 99, 1, &Src, A0, &C);
  ExpectNear(Values(Src), To12, 1e-13, "in place");
  // A constant signal keeps its value away from the ends.
  TVector Flat;
  FillValues(Flat, std::vector<double>(400, 3.5));
  ChebychevFilter(&Flat, 1, 400, &Flat, A0, &C);
  for (int32_t I = 150; I <= 250; ++I) EXPECT_NEAR(Flat.GetVal(I), 3.5, 1e-12) << "element " << I;
  // Nil arguments: nothing.
  FillValues(Dst, {-1});
  ChebychevFilter(nullptr, 1, 4, &Dst, A0, &C);
  ChebychevFilter(&Src, 1, 4, &Dst, A0, nullptr);
  ChebychevFilter(&Src, 1, 4, nullptr, A0, &C);
  EXPECT_EQ(Values(Dst), (std::vector<double>{-1}));
}

}  // namespace
}  // namespace orv
