// The core and the computations of the vector components, written once for
// TVector and TIntVector: each is a friend of TVectorOps<itself>, whose
// members work on its fields FNElem, FIsEmpty, FVec and its events. What
// differs between the two (start values, the arithmetic of the element type,
// the direction of Correlate's shift) is a parameter or follows from T.
// Internal.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/block_stats.h"
#include "core/combsort.h"
#include "core/combsort_lanes.h"
#include "core/intwrap.h"
#include "core/moments.h"
#include "core/order_stats.h"
#include "linalg/component.h"
#include "linalg/histogram.h"
#include "linalg/storage_stamps.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv::detail {

template <class V>
struct TVectorOps {
  using TArray = decltype(V::FVec);
  using T = typename TArray::value_type;

  // Resize reports its failure with the shorter text.
  static constexpr std::string_view NoMemory = "not enough memory";

  static void Create(V& Self) {
    GuardAlloc<typename V::TError>(Self, NoHeap, [&] { Self.FVec.assign(1, T{}); });
  }

  static void Assign(V& Self, TPersistent* Source) {
    auto* Src = dynamic_cast<V*>(Source);
    if (Src == nullptr) {
      Self.TComponent::Assign(Source);
      return;
    }
    if (Src == &Self) return;
    TArray Values = GuardAlloc<typename V::TError>(Self, NoMemory, [&] { return Src->FVec; });
    Self.FVec = std::move(Values);
    Self.FNElem = Src->FNElem;
    Self.FIsEmpty = Src->FIsEmpty;
    Self.OnChange = Src->OnChange;
    Self.OnSortExchange = Src->OnSortExchange;
  }

  static bool Resize(V& Self, int32_t NE) {
    if (NE == Self.FNElem) return true;
    if (NE <= 0) return false;
    GuardAlloc<typename V::TError>(Self, NoMemory, [&] {
      CheckExtent(NE, sizeof(T));
      Self.FVec.resize(Ix(NE));  // strong guarantee for trivial T
    });
    Self.FNElem = NE;
    Self.Changed();
    return true;
  }

  static void Clone(V& Self, const V* Src) {
    if (Src == nullptr) return;
    Resize(Self, Src->FNElem);
    if (!Self.OnChange && Src != &Self) {
      std::copy_n(Src->FVec.begin(), Self.FNElem, Self.FVec.begin());
      Self.FIsEmpty = false;
    } else {
      // A handler may resize either vector, so every access is checked again.
      for (int32_t I = 1; I <= Src->FNElem; ++I) Self.SetVal(I, Src->GetVal(I));
    }
    Self.Changed();
  }

  // Writes Values[k] to element First + k through SetVal semantics.
  static void Put(V& Self, const T* Values, int64_t Count, int64_t First) {
    if (!Self.OnChange) {
      const int64_t Lo = std::max<int64_t>(First, 1);
      const int64_t Hi = std::min<int64_t>(First + Count - 1, Self.FNElem);
      if (Lo > Hi) return;
      std::copy_n(Values + (Lo - First), Hi - Lo + 1, Self.FVec.begin() + (Lo - 1));
      Self.FIsEmpty = false;
      return;
    }
    for (int64_t K = 0; K < Count; ++K) {
      const int64_t E = First + K;
      if (E >= 1 && E <= Self.FNElem) Self.SetVal(static_cast<int32_t>(E), Values[K]);
    }
  }

  static void CopyFrom(V& Self, const V* Src, int32_t Lo, int32_t Hi, int32_t DestElem) {
    if (Src == nullptr) return;
    Lo = std::clamp(Lo, 1, Src->FNElem);
    Hi = std::clamp(Hi, 1, Src->FNElem);
    if (Hi < Lo) std::swap(Lo, Hi);
    const T* Stretch = Src->FVec.data() + (Lo - 1);
    const int32_t Count = Hi - Lo + 1;
    if (Src == &Self || Self.OnChange) {
      // A copy of the stretch: overlapping writes and handlers see the old values.
      const TArray Copy(Stretch, Stretch + Count);
      Put(Self, Copy.data(), Count, DestElem);
    } else {
      Put(Self, Stretch, Count, DestElem);
    }
    Self.Changed();
  }

  static void CopyToArray(const V& Self, TArray& Dest, int32_t Lo, int32_t Hi) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    TArray Out(Self.FVec.begin() + (Lo - 1), Self.FVec.begin() + Hi);
    Dest = std::move(Out);
  }

  // With a handler the values come from a copy taken first: the handler may
  // change Src, the caller's array, between the writes.
  static void CopyFromArray(V& Self, const TArray& Src, int32_t Elem) {
    if (Self.OnChange) {
      const TArray Copy = GuardAlloc<typename V::TError>(Self, NoHeap, [&] { return Src; });
      Put(Self, Copy.data(), static_cast<int64_t>(Copy.size()), Elem);
      return;
    }
    Put(Self, Src.data(), static_cast<int64_t>(Src.size()), Elem);
  }

  static void Fill(V& Self, T Value) {
    std::fill_n(Self.FVec.begin(), Self.FNElem, Value);
    Self.FIsEmpty = false;
    Self.Changed();
  }

  static void Clear(V& Self) {
    std::fill_n(Self.FVec.begin(), Self.FNElem, T{});
    Self.FIsEmpty = true;
    Self.Changed();
  }

  template <class F>
  static void Transform(V& Self, F&& Op) {
    for (int32_t I = 0; I < Self.FNElem; ++I) Self.FVec[Ix(I)] = Op(Self.FVec[Ix(I)]);
    Self.Changed();
  }

  static std::string CRCofData(const V& Self) {
    TLaneCRC<sizeof(T)> Crc;
    for (int32_t I = 0; I < Self.FNElem; ++I) Crc.AddValue(Self.FVec[Ix(I)]);
    return Crc.Text();
  }

  static bool IsDichotomous(const V& Self, T& V1, T& V2) {
    V1 = T{};
    V2 = T{};
    if (Self.FNElem < 2) return false;
    V1 = V2 = Self.FVec[0];
    int32_t I = 1;
    while (I < Self.FNElem && Self.FVec[Ix(I)] == V1) ++I;
    if (I == Self.FNElem) return true;
    V2 = Self.FVec[Ix(I)];
    for (++I; I < Self.FNElem; ++I) {
      const T X = Self.FVec[Ix(I)];
      if (!(X == V1 || X == V2)) return false;
    }
    return true;
  }

  // ==== computations ====================================================================
  static constexpr bool IsReal = std::is_floating_point_v<T>;

  static const T* Data(const V& Self) { return Self.FVec.data(); }

  // The values of the range Lo..Hi (range rule) as a sequence (core/moments.h).
  static auto Range(const V& Self, int32_t Lo, int32_t Hi) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    return SpanSequence(Data(Self) + (Lo - 1), int64_t{Hi} - Lo + 1);
  }

  // Raises "vectors have different dimensions" unless Other has Self's size.
  static void CheckSameSize(const V& Self, const V& Other) {
    if (Other.FNElem != Self.FNElem)
      RaiseComponentError<typename V::TError>(Self, "vectors have different dimensions");
  }

  // ---- products and distances -----------------------------------------------------
  // Sum x(i) y(i) from 0 in element order; Integer arithmetic wraps.
  static T DotProduct(const V& Self, const V* Other) {
    if (Other == nullptr) return T{};
    CheckSameSize(Self, *Other);
    const T *X = Data(Self), *Y = Data(*Other);
    T S{};
    for (int32_t I = 0; I < Self.FNElem; ++I) S = WrapAdd(S, WrapMul(X[I], Y[I]));
    return S;
  }

  // Sum x(i) y(i + Offset) over the i where both exist, in increasing i; 0 when
  // Other is nil or fewer than MinOverlap pairs exist.
  static T Correlate(const V& Self, const V* Other, int64_t Offset, int64_t MinOverlap) {
    if (Other == nullptr) return T{};
    const int64_t Lo = std::max<int64_t>(1, 1 - Offset);
    const int64_t Hi = std::min<int64_t>(Self.FNElem, Other->FNElem - Offset);
    if (Hi - Lo + 1 < std::max<int64_t>(MinOverlap, 1)) return T{};
    const T *X = Data(Self), *Y = Data(*Other);
    T S{};
    for (int64_t I = Lo; I <= Hi; ++I) S = WrapAdd(S, WrapMul(X[I - 1], Y[I + Offset - 1]));
    return S;
  }

  // Pearson's r (PearsonOf: sums over values shifted by the first pair,
  // bounded to [-1, 1]); 0 for a nil Other, other sizes or fewer than 2 values.
  static double Pearson(const V& Self, const V* Other) {
    if (Other == nullptr || Other->FNElem != Self.FNElem) return 0.0;
    const T *X = Data(Self), *Y = Data(*Other);
    return PearsonOf(
        [&](auto&& F) {
          for (int32_t I = 0; I < Self.FNElem; ++I) F(X[I], Y[I]);
        },
        2);
  }

  // sqrt(sum (x - y)^2) with differences and squares in double; nil gives 0.
  static double EuclideanDistance(const V& Self, const V* Other) {
    if (Other == nullptr) return 0.0;
    if (Other->FNElem != Self.FNElem)
      throw typename V::TError("EuclideanDistance: dimensions of vectors do not match");
    const T *X = Data(Self), *Y = Data(*Other);
    double S = 0;
    for (int32_t I = 0; I < Self.FNElem; ++I) {
      const double D = static_cast<double>(X[I]) - static_cast<double>(Y[I]);
      S += D * D;
    }
    return std::sqrt(S);
  }

  // ---- element-wise arithmetic ----------------------------------------------------
  static void AddOrSubtract(V& Self, const V* Other, bool Subtract) {
    if (Other == nullptr) return;
    CheckSameSize(Self, *Other);
    T* X = Self.FVec.data();
    const T* Y = Data(*Other);
    for (int32_t I = 0; I < Self.FNElem; ++I) X[I] = Subtract ? WrapSub(X[I], Y[I]) : WrapAdd(X[I], Y[I]);
    Self.Changed();
  }

  static void SMult(V& Self, T Scalar) {
    Transform(Self, [Scalar](T X) { return WrapMul(X, Scalar); });
  }

  // ---- searching --------------------------------------------------------------------
  // Binary search in a vector sorted in the given direction: an exact hit at a
  // probe returns it; else the nearer of the last two bracketing elements,
  // the higher index on a tie.
  static int32_t FindInSorted(const V& Self, bool Ascending, T Value) {
    const T* X = Data(Self);
    return FindInSortedOf(Self.FNElem, Ascending, Value, [X](int32_t I) { return X[I - 1]; });
  }

  // The first element of the range with the smallest |x - Value| below the
  // largest double; 0 when there is none (every distance NaN or infinite).
  static int32_t FindNearest(const V& Self, int32_t Lo, int32_t Hi, T Value) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    const std::span<const T> Run(Data(Self) + (Lo - 1), Ix(Hi - Lo + 1));
    const TCellPlace P = NearestOf([Run](auto&& F) { F(Run); }, Value);
    return P.Found() ? Lo + static_cast<int32_t>(P.Offset) : 0;
  }

  static int32_t FindExact(const V& Self, int32_t Lo, int32_t Hi, T Value) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    const T* X = Data(Self);
    for (int32_t I = Lo; I <= Hi; ++I)
      if (X[I - 1] == Value) return I;
    return 0;
  }

  // The extremes of the range and their first indices. The first number of the
  // range starts both, so values at or beyond the start values are found
  // too; NaN is passed over; a range without a number keeps StartMin and
  // StartMax with indices 0.
  static void MinMax(const V& Self, int32_t Lo, int32_t Hi, T StartMin, T StartMax, T& Min, T& Max) {
    int32_t MinIx, MaxIx;
    MinMax(Self, Lo, Hi, StartMin, StartMax, Min, Max, MinIx, MaxIx);
  }
  static void MinMax(const V& Self, int32_t Lo, int32_t Hi, T StartMin, T StartMax, T& Min, T& Max,
                     int32_t& MinIx, int32_t& MaxIx) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    const T* X = Data(Self);
    Min = StartMin;
    Max = StartMax;
    MinIx = MaxIx = 0;
    int32_t I = Lo;
    if constexpr (IsReal)
      while (I <= Hi && std::isnan(X[I - 1])) ++I;
    if (I > Hi) return;
    Min = Max = X[I - 1];
    MinIx = MaxIx = I;
    for (++I; I <= Hi; ++I) {
      const T Xi = X[I - 1];
      if (Xi < Min) {
        Min = Xi;
        MinIx = I;
      }
      if (Xi > Max) {
        Max = Xi;
        MaxIx = I;
      }
    }
  }

  // ---- order --------------------------------------------------------------------------
  // Comb sort of First..Last (range rule) from the gap Last - First, NaN last;
  // every exchange fires SortExchange(0, i, i + gap, 0, 0), then one OnChange.
  // A handler that resizes the vector ends the sort (its bounds no longer hold).
  static void SortElems(V& Self, bool Ascending, int32_t First, int32_t Last) {
    MakeValidRange(First, Last, Self.FNElem);
    if (Last - First <= 0) return;
    const int64_t Gap = int64_t{Last} - First;
    if (!Self.OnSortExchange) {
      CombSortValues(Self.FVec.data() + (First - 1), nullptr, int64_t{Last} - First + 1, Gap, Ascending, CombNoReport);
    } else {
      // The elements are read through FVec afresh, so only a new size matters.
      const TStorageGuard Shape(ShapeOf(Self));
      bool Resized = false;
      CombSortByKey(
          First, Last, Gap, Ascending, [&](int32_t I) { return Resized ? T{} : Self.FVec[Ix1(I)]; },
          [&](int32_t I, int32_t J) {
            std::swap(Self.FVec[Ix1(I)], Self.FVec[Ix1(J)]);
            Self.SortExchange(0, I, J, 0, 0);
            Resized = !Shape.Intact();
          },
          [&] { return !Resized; });
    }
    Self.Changed();
  }

  static void Mirror(V& Self) {
    std::reverse(Self.FVec.begin(), Self.FVec.begin() + Self.FNElem);
    Self.Changed();
  }

  // Reseeds the platform generator from the clock, then N exchanges of two
  // positions drawn uniformly (possibly equal). No OnChange.
  static void Shuffle(V& Self) {
    Randomize();
    const int32_t N = Self.FNElem;
    for (int32_t K = 0; K < N; ++K) {
      const int32_t A = Random(N);
      const int32_t B = Random(N);
      std::swap(Self.FVec[Ix(A)], Self.FVec[Ix(B)]);
    }
  }

  // ---- order statistics ---------------------------------------------------------------
  // A sorted copy of the range (SortArray: ProcStat grows by its passes).
  static std::vector<T> SortedRange(const V& Self, int32_t Lo, int32_t Hi) {
    MakeValidRange(Lo, Hi, Self.FNElem);
    const int64_t N = int64_t{Hi} - Lo + 1;
    return GuardAlloc<typename V::TError>(Self, NoHeap, [&] { return SortedCopy<T>(N, Range(Self, Lo, Hi)); });
  }

  static T Mode(const V& Self, int32_t Lo, int32_t Hi) {
    const std::vector<T> A = SortedRange(Self, Lo, Hi);
    return ModeOfSorted<T>(A);
  }

  static bool Quartiles(const V& Self, int32_t Lo, int32_t Hi, double& Q1, double& Q2, double& Q3) {
    Q1 = Q2 = Q3 = 0.0;
    const std::vector<T> A = SortedRange(Self, Lo, Hi);
    return InterpolatedQuartiles<T>(A, Q1, Q2, Q3);
  }

  static double Percentile(const V& Self, double Prob, int32_t Lo, int32_t Hi) {
    const std::vector<T> A = SortedRange(Self, Lo, Hi);
    return InterpolatedPercentile<T>(A, Prob);
  }

  // ---- moments ------------------------------------------------------------------------
  static void MeanVar(const V& Self, int32_t Lo, int32_t Hi, double& Mean, double& Variance) {
    MakeValidRange(Lo, Hi, Self.FNElem);  // a vector has at least one element
    const TMeanVar R = MeanVarOf(Range(Self, Lo, Hi), static_cast<double>(Data(Self)[Lo - 1]));
    Mean = R.Mean;
    Variance = R.Variance;
  }

  static double GeometricMean(const V& Self, int32_t Lo, int32_t Hi) {
    const TGeometricMean R = GeometricMeanOf(Range(Self, Lo, Hi));
    if (R.Negative) RaiseComponentError<typename V::TError>(Self, "negative argument passed to GeometricMean");
    return R.Value();
  }

  static double HarmonicMean(const V& Self, int32_t Lo, int32_t Hi) {
    const THarmonicMean R = HarmonicMeanOf(Range(Self, Lo, Hi));
    if (R.NonPositive)
      RaiseComponentError<typename V::TError>(Self, "negative or zero argument passed to HarmonicMean");
    return R.Value();
  }

  // Sum from 0 in element order; Integer arithmetic wraps.
  static T Sum(const V& Self, int32_t Lo, int32_t Hi) {
    T S{};
    Range(Self, Lo, Hi)([&](T X) { S = WrapAdd(S, X); });
    return S;
  }

  // The vectors' skewness and kurtosis need 4 values; Sample adds the bias
  // correction; NumData, when given, receives the number of values.
  static void SkewKurt(const V& Self, int32_t Lo, int32_t Hi, bool Sample, double& Skewness, double& Kurtosis,
                       int32_t* NumData = nullptr) {
    TSkewKurt R = SkewKurtOf(Range(Self, Lo, Hi), 4);
    if (Sample) SkewKurtSampleCorrection(R);
    Skewness = R.Skewness;
    Kurtosis = R.Kurtosis;
    if (NumData != nullptr) *NumData = static_cast<int32_t>(R.N);
  }

  // ---- histogram ------------------------------------------------------------------------
  // Counts elements FirstElem..LastElem, taken as given (LastElem < FirstElem
  // counts nothing; indices outside 1..N read 0), into Histo with the bins B.
  // False, with nothing changed, when the range holds more elements than an
  // Integer counts. Histo may be Self: its values are counted before it
  // changes.
  template <class BinRule>
  static bool Histogram(const V& Self, int32_t FirstElem, int32_t LastElem, TIntVector& Histo, const BinRule& B,
                        int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) {
    const int64_t Lo = FirstElem, Hi = LastElem, N = Self.FNElem;
    if (Hi - Lo + 1 > INT32_MAX) return false;
    const int32_t InLo = static_cast<int32_t>(std::max<int64_t>(Lo, 1));
    const int32_t InHi = static_cast<int32_t>(std::min(Hi, N));
    const int64_t Below = std::min<int64_t>(Hi, 0) - Lo + 1, Above = Hi - std::max(Lo, N + 1) + 1;
    // Watched, the values are read between Histo's events: from a copy when
    // Histo is Self, else through GetVal, which a handler resizing Self
    // cannot lead out of the storage.
    const bool FromCopy = Histo.OnChange && static_cast<const void*>(&Histo) == static_cast<const void*>(&Self);
    const TArray Copy = FromCopy ? GuardAlloc<typename V::TError>(Self, NoHeap, [&] { return Self.FVec; }) : TArray{};
    const THistoCounts C = CountHistogram(Histo, B, [&](auto&& Add, bool Watched) {
      if (Below > 0) Add(T{}, Below);
      const T* X = FromCopy ? Copy.data() : Data(Self);
      if (FromCopy || !Watched)
        for (int32_t I = InLo; I <= InHi; ++I) Add(X[I - 1], 1);
      else
        for (int32_t I = InLo; I <= InHi; ++I) Add(Self.GetVal(I), 1);
      if (Above > 0) Add(T{}, Above);
    });
    Underflow = C.Underflow;
    Overflow = C.Overflow;
    MaxCnt = C.MaxCnt;
    return true;
  }
};

}  // namespace orv::detail
