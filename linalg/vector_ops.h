// The core of the vector components, written once for TVector and
// TIntVector: each is a friend of TVectorOps<itself>, whose members work on
// its fields FNElem, FIsEmpty, FVec and its events. Internal.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "linalg/component.h"

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

  static void CopyFromArray(V& Self, const TArray& Src, int32_t Elem) {
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
};

}  // namespace orv::detail
