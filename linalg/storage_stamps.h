// The storage stamps of the components of ORV_vector and ORV_matrix, which
// a TStorageGuard (core/storage_guard.h) compares after host code ran.
// Shape: the extents (and a TIntMatrix's storage kind); Storage: where the
// cells are; each declares how many words it puts (0: it varies). Internal.
#pragma once

#include <concepts>
#include <cstddef>

#include "core/storage_guard.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv::detail {

template <class V>
  requires std::same_as<V, TVector> || std::same_as<V, TIntVector>
struct TStorageStamp<V> {
  static constexpr std::size_t ShapeWords = 1, StorageWords = 2;
  template <class P>
  static void Shape(const V& X, P& Put) {
    Put(X.FNElem);
  }
  template <class P>
  static void Storage(const V& X, P& Put) {
    StampArray(X.FVec, Put);
  }
};

// The columns one by one: O(columns).
template <>
struct TStorageStamp<TMatrix> {
  static constexpr std::size_t ShapeWords = 2, StorageWords = 0;
  template <class P>
  static void Shape(const TMatrix& M, P& Put) {
    Put(M.FNCol);
    Put(M.FNRow);
  }
  template <class P>
  static void Storage(const TMatrix& M, P& Put) {
    StampArray(M.Mat, Put);
  }
};

template <>
struct TStorageStamp<TIntMatrix> {
  static constexpr std::size_t ShapeWords = 3, StorageWords = 0;
  template <class P>
  static void Shape(const TIntMatrix& M, P& Put) {
    Put(M.FNCol);
    Put(M.FNRow);
    Put(M.FIsSparse);
  }
  template <class P>
  static void Storage(const TIntMatrix& M, P& Put) {
    if (M.FIsSparse)
      StampArray(M.SpMat, Put);
    else
      StampArray(M.Mat, Put);
  }
};

template <class A>
  requires std::same_as<A, TMat3D> || std::same_as<A, TMat4D>
struct TStorageStamp<A> {
  static constexpr std::size_t ShapeWords = std::same_as<A, TMat4D> ? 4 : 3, StorageWords = 2;
  template <class P>
  static void Shape(const A& X, P& Put) {
    Put(X.FNumX);
    Put(X.FNumY);
    Put(X.FNumZ);
    if constexpr (std::same_as<A, TMat4D>) Put(X.FNumT);
  }
  template <class P>
  static void Storage(const A& X, P& Put) {
    StampArray(X.FCells, Put);
  }
};

}  // namespace orv::detail
