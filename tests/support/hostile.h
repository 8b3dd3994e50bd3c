// Host code that changes what a routine works on while the routine runs: the
// fixture of the hostile tests, one tests/<folder>/<folder>_hostile_test.cpp
// per source folder (and <folder>_hostile_threads_test.cpp for threaded
// paths). Test support; the rule it tests is in docs/DESIGN.md, "Component
// machinery", Events.
//
// How a folder uses it
// --------------------
// One table of cases, walked by one TEST:
//     const THostileCase Cases[] = {
//         {"TVector::CopyFromArray, its OnChange attacks the source array",
//          [](THostile& H) {
//            TVector V(nullptr);
//            V.Resize(6);
//            TDoubleArray Src{1, 2, 3, 4, 5, 6};
//            V.OnChange = H.On(Src);   // the handler attacks Src
//            V.CopyFromArray(Src, 1);
//            return THostileOutcome{Values(V)};
//          }},
//     };
//     RunHostile(Cases);
// H.On(Target) is a handler for any event (it takes any arguments; assign
// it to OnChange, OnPercentDone, OnSortExchange, MathFeedBackProc, a
// feedback argument); H.On(Target, After) calls After right after its
// action (to note what the action left). RunHostile runs every case once
// undisturbed, where H only counts its n calls, and then once per action
// (Shrink, Grow, Empty, Reallocate, and ToSparse for a dense TIntMatrix) at
// the calls 1, 2 and (n + 1) / 2: at that call the handler performs the
// action on its target, once, and does nothing else. MathFeedBackProc and
// AbortMathProc are restored after every run. Targets: TVector,
// TIntVector, TMatrix, TIntMatrix, TMat3D, TMat4D, TDataTable (whose
// reallocation is the adoption of a copy of its matrix), dynamic arrays of
// one or two dimensions, and several of them at once (Targets); a folder
// adds a Disturb overload for its own kinds here, before Targets.
// ORV_HOSTILE_ONLY=text in the environment runs only the cases whose name
// holds the text (a sanitizer stops at the first fault).
//
// An outcome is what the routine produced, as numbers (its result, its
// return value, the cells it wrote: Outcome(...) and Cells(M) list them).
// A disturbed run passes when Got is
// - the undisturbed outcome: the routine finished on the inputs as they
//   were, or the change did not touch what it reads;
// - Now, when the case gives it: the same call, undisturbed, on the inputs
//   as they now are (a routine that computed again, or wrote through the
//   checked accessors to the end);
// - Failure, when the case gives it, or what the case's Failed accepts
//   (ResultIs(code), a sort that ended with another size): the routine's
//   documented failure;
// - anything, for a row marked CheckedAccessorsOnly: a routine that reads
//   and writes cell by cell through the checked accessors, whose result
//   depends on when the handler struck.
// The sanitizers judge the accesses: a read or write of freed or foreign
// memory fails the test program under ASan, a race between workers and
// host code under TSan.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_kohonen.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_membl.h"
#include "orvcalckit/ORV_vector.h"
#include "support/progress.h"

namespace orv::test {

enum class THostileAction { None, Shrink, Grow, Empty, Reallocate, ToSparse };

inline const char* ActionName(THostileAction A) {
  switch (A) {
    case THostileAction::None: return "none";
    case THostileAction::Shrink: return "shrink";
    case THostileAction::Grow: return "grow";
    case THostileAction::Empty: return "empty";
    case THostileAction::Reallocate: return "reallocate";
    case THostileAction::ToSparse: return "to sparse";
  }
  return "?";
}

// ---- the actions on each kind of target ----------------------------------------------
template <class T>
  requires std::is_arithmetic_v<T>
bool Disturb(std::vector<T>& A, THostileAction Act) {
  switch (Act) {
    case THostileAction::Shrink: A.resize(A.size() / 2); return true;
    case THostileAction::Grow: A.resize(2 * A.size() + 1, T(7)); return true;
    case THostileAction::Empty: A.clear(); return true;
    case THostileAction::Reallocate: A = std::vector<T>(A); return true;
    default: return false;
  }
}

template <class T>
bool Disturb(std::vector<std::vector<T>>& A, THostileAction Act) {
  switch (Act) {
    case THostileAction::Shrink:
      A.resize(A.size() / 2);
      for (auto& Col : A) Col.resize(Col.size() / 2);
      return true;
    case THostileAction::Grow: {
      const std::size_t Rows = A.empty() ? 1 : 2 * A[0].size() + 1;
      for (auto& Col : A) Col.resize(Rows, T(7));
      A.resize(2 * A.size() + 1, std::vector<T>(Rows, T(7)));
      return true;
    }
    case THostileAction::Empty: A.clear(); return true;
    case THostileAction::Reallocate: A = std::vector<std::vector<T>>(A); return true;
    default: return false;
  }
}

template <class V>
  requires std::is_same_v<V, TVector> || std::is_same_v<V, TIntVector>
bool Disturb(V& X, THostileAction Act) {
  const int32_t N = X.NrOfElem();
  switch (Act) {
    case THostileAction::Shrink: X.Resize(std::max(N / 2, 1)); return true;
    case THostileAction::Grow: X.Resize(2 * N + 1); return true;
    case THostileAction::Empty: X.Resize(1); return true;
    case THostileAction::Reallocate:  // far beyond the capacity and back: new storage, the values kept
      X.Resize(4 * N + 64);
      X.Resize(N);
      return true;
    default: return false;
  }
}

template <class M>
  requires std::is_same_v<M, TMatrix> || std::is_same_v<M, TIntMatrix>
bool Disturb(M& X, THostileAction Act) {
  const int32_t NC = X.NrOfColumns(), NR = X.NrOfRows();
  switch (Act) {
    case THostileAction::Shrink: X.Resize(NC / 2, NR / 2); return true;
    case THostileAction::Grow: X.Resize(2 * NC + 1, 2 * NR + 1); return true;
    case THostileAction::Empty: X.Resize(0, 0); return true;
    case THostileAction::Reallocate:  // the public storage as a whole
      if constexpr (std::is_same_v<M, TIntMatrix>)
        if (X.IsSparse()) {
          X.SpMat = decltype(X.SpMat)(X.SpMat);
          return true;
        }
      X.Mat = decltype(X.Mat)(X.Mat);
      return true;
    case THostileAction::ToSparse:
      if constexpr (std::is_same_v<M, TIntMatrix>) {
        if (X.IsSparse()) return false;
        X.ArrayToSparse(1);
        return true;
      }
      return false;
    default: return false;
  }
}

inline bool Disturb(TMat3D& X, THostileAction Act) {
  const int32_t C = X.NrOfColumns(), R = X.NrOfRows(), L = X.NrOfLayers();
  switch (Act) {
    case THostileAction::Shrink: X.Resize(std::max(C / 2, 1), std::max(R / 2, 1), std::max(L / 2, 1)); return true;
    case THostileAction::Grow: X.Resize(2 * C + 1, 2 * R + 1, 2 * L + 1); return true;
    case THostileAction::Empty: X.Resize(1, 1, 1); return true;
    case THostileAction::Reallocate:  // a resize builds new storage, the overlap kept
      X.Resize(C + 1, R, L);
      X.Resize(C, R, L);
      return true;
    default: return false;
  }
}

inline bool Disturb(TMat4D& X, THostileAction Act) {
  const int32_t C = X.NrOfColumns(), R = X.NrOfRows(), L = X.NrOfLayers(), T = X.NrOfTimeSlots();
  switch (Act) {
    case THostileAction::Shrink:
      X.Resize(std::max(C / 2, 1), std::max(R / 2, 1), std::max(L / 2, 1), std::max(T / 2, 1));
      return true;
    case THostileAction::Grow: X.Resize(2 * C + 1, 2 * R + 1, 2 * L + 1, 2 * T + 1); return true;
    case THostileAction::Empty: X.Resize(1, 1, 1, 1); return true;
    case THostileAction::Reallocate:  // a resize builds new storage, the overlap kept
      X.Resize(C + 1, R, L, T);
      X.Resize(C, R, L, T);
      return true;
    default: return false;
  }
}

// A table reallocates by adopting a copy of its matrix (AssignAnotherDataMatrix),
// which frees the matrix of its own; the copies live until the program ends,
// as an adopted matrix must outlive its table.
inline bool Disturb(TDataTable& X, THostileAction Act) {
  const int32_t NC = X.NrOfColumns(), NR = X.NrOfRows();
  switch (Act) {
    case THostileAction::Shrink: X.Resize(NC / 2, NR / 2); return true;
    case THostileAction::Grow: X.Resize(2 * NC + 1, 2 * NR + 1); return true;
    case THostileAction::Empty: X.Resize(0, 0); return true;
    case THostileAction::Reallocate: {
      static std::vector<std::unique_ptr<TMatrix>> Adopted;
      auto Copy = std::make_unique<TMatrix>(nullptr);
      Copy->Assign(X.NumericData);
      X.AssignAnotherDataMatrix(Copy.get());
      Adopted.push_back(std::move(Copy));
      return true;
    }
    default: return false;
  }
}

// The curve fitter's pairs: the storage holds 1000 pairs at first, so 1001
// more move it.
inline bool Disturb(TCurveFit& F, THostileAction Act) {
  const int32_t N = F.NumData();
  const auto Enter = [&F](int32_t Count) {
    for (int32_t I = 0; I < Count; ++I) F.EnterStatValue(7.0 + I, 7.0);
  };
  switch (Act) {
    case THostileAction::Shrink:
      while (F.NumData() > N / 2) F.RemoveStatValue(F.NumData());
      return true;
    case THostileAction::Grow: Enter(1001); return true;
    case THostileAction::Empty: F.Init(); return true;
    case THostileAction::Reallocate:  // new storage, the pairs kept
      Enter(1001);
      while (F.NumData() > N) F.RemoveStatValue(F.NumData());
      return true;
    default: return false;
  }
}

// The learner's model table.
inline bool Disturb(TMemBasedLearner& L, THostileAction Act) {
  TDataTable& T = *L.ModelData;
  const int32_t NC = T.NrOfColumns(), NR = T.NrOfRows();
  switch (Act) {
    case THostileAction::Shrink: T.Resize(std::max(NC / 2, 1), std::max(NR / 2, 1)); return true;
    case THostileAction::Grow: T.Resize(2 * NC + 1, 2 * NR + 1); return true;
    case THostileAction::Empty: T.Resize(0, 0); return true;
    case THostileAction::Reallocate:  // the cells' storage as a whole
      T.NumericData->Mat = decltype(T.NumericData->Mat)(T.NumericData->Mat);
      return true;
    default: return false;
  }
}

// The map's grid and variables (each setter builds a new map of zeros).
inline bool Disturb(TKohonen& K, THostileAction Act) {
  const int32_t X = K.SizeX(), Y = K.SizeY(), V = K.NrOfInSens();
  switch (Act) {
    case THostileAction::Shrink:
      K.SetSizeX(std::max(X / 2, 1));
      K.SetSizeY(std::max(Y / 2, 1));
      K.SetNrOfInSens(std::max(V / 2, 1));
      return true;
    case THostileAction::Grow:
      K.SetSizeX(2 * X + 1);
      K.SetSizeY(2 * Y + 1);
      K.SetNrOfInSens(2 * V + 1);
      return true;
    case THostileAction::Empty:
      K.SetSizeX(1);
      K.SetSizeY(1);
      K.SetNrOfInSens(1);
      return true;
    case THostileAction::Reallocate: K.SetSizeX(X); return true;
    default: return false;
  }
}

// Several targets of one handler, each given the same action (it sees the
// overloads above only):
//     auto Inputs = Targets(Data, Sample);
//     X.OnChange = H.On(Inputs);
template <class... T>
struct THostileTargets {
  std::tuple<T&...> Of;
};
template <class... T>
THostileTargets<T...> Targets(T&... X) {
  return {std::tuple<T&...>(X...)};
}
template <class... T>
bool Disturb(THostileTargets<T...>& X, THostileAction Act) {
  // Every target is disturbed, none skipped once one was.
  return std::apply([Act](auto&... Each) { return (0 + ... + static_cast<int>(Disturb(Each, Act))) > 0; }, X.Of);
}

// ---- the hostile handler ----------------------------------------------------------------
class THostile {
 public:
  THostile(THostileAction Act, int32_t At) : FAct(Act), FAt(At) {}
  THostile(const THostile&) = delete;
  THostile& operator=(const THostile&) = delete;

  // A handler for any event: counts its calls and, at call At, performs the
  // action on Target once, then calls After (to note what the action left).
  // Its own action's events (a resize fires OnChange) are not counted.
  template <class T>
  auto On(T& Target, std::function<void()> After = nullptr) {
    FSupported = FAct != THostileAction::ToSparse;
    if constexpr (std::is_same_v<T, TIntMatrix>) FSupported = FSupported || !Target.IsSparse();
    return [this, &Target, After](auto&&...) {
      if (FActing) return;
      if (++FCalls != FAt || FAct == THostileAction::None) return;
      FActing = true;
      Disturb(Target, FAct);
      if (After) After();
      FActing = false;
      FActed = true;
    };
  }
  // The same action on another object (a reference result, to compare with
  // one that the handler changed after the routine had written it).
  template <class T>
  void Apply(T& X) const {
    if (FAct != THostileAction::None) Disturb(X, FAct);
  }

  int32_t Calls() const { return FCalls; }
  bool Acted() const { return FActed; }
  bool Supported() const { return FSupported; }

 private:
  THostileAction FAct;
  int32_t FAt;
  std::atomic<int32_t> FCalls{0};
  std::atomic<bool> FActing{false}, FActed{false};
  bool FSupported = true;
};

// ---- cases and the runner ------------------------------------------------------------------
// Got: what the routine produced. Now, when given: the same call,
// undisturbed, on the inputs as they now are. Failure, when given: what the
// routine's documented failure leaves.
struct THostileOutcome {
  std::vector<double> Got;
  std::vector<double> Now = {};
  std::vector<double> Failure = {};
};

struct THostileCase {
  const char* Name;
  std::function<THostileOutcome(THostile&)> Run;
  // Got is the documented failure (a false or negative result, a sort that
  // ended because the size changed); may compare with the undisturbed outcome.
  std::function<bool(const std::vector<double>& Got, const std::vector<double>& Undisturbed)> Failed = nullptr;
};

// The Failed of a routine whose first outcome number is its result and Code its failure.
inline auto ResultIs(double Code) {
  return [Code](const std::vector<double>& Got, const std::vector<double>&) { return !Got.empty() && Got[0] == Code; };
}
// The Failed of a routine that reads and writes through the checked
// accessors, so that what it leaves depends on when the handler struck:
// only the sanitizers judge it (a stray access fails the program).
inline bool CheckedAccessorsOnly(const std::vector<double>&, const std::vector<double>&) { return true; }

// Numbers in one list: Outcome(Result, Values(V), ...).
inline void AppendOutcome(std::vector<double>&) {}
template <class X, class... Rest>
void AppendOutcome(std::vector<double>& Out, const X& First, const Rest&... More) {
  if constexpr (std::is_arithmetic_v<X>)
    Out.push_back(static_cast<double>(First));
  else
    for (const auto& V : First) Out.push_back(static_cast<double>(V));
  AppendOutcome(Out, More...);
}
template <class... X>
std::vector<double> Outcome(const X&... Parts) {
  std::vector<double> Out;
  AppendOutcome(Out, Parts...);
  return Out;
}

// The cells of a matrix or array component column by column (any dimensions).
template <class M>
std::vector<double> Cells(const M& X) {
  std::vector<double> Out{static_cast<double>(X.NrOfColumns()), static_cast<double>(X.NrOfRows())};
  for (int32_t C = 1; C <= X.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= X.NrOfRows(); ++R) {
      if constexpr (requires { X.NrOfTimeSlots(); }) {
        for (int32_t L = 1; L <= X.NrOfLayers(); ++L)
          for (int32_t T = 1; T <= X.NrOfTimeSlots(); ++T) Out.push_back(X.GetVal(C, R, L, T));
      } else if constexpr (requires { X.NrOfLayers(); }) {
        for (int32_t L = 1; L <= X.NrOfLayers(); ++L) Out.push_back(X.GetVal(C, R, L));
      } else {
        Out.push_back(static_cast<double>(X.GetVal(C, R)));
      }
    }
  return Out;
}

inline bool SameOutcome(const std::vector<double>& A, const std::vector<double>& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I)
    if (!(A[I] == B[I] || (std::isnan(A[I]) && std::isnan(B[I])))) return false;
  return true;
}

inline std::string ShowOutcome(const std::vector<double>& A) {
  std::ostringstream S;
  S << "[" << A.size() << "]";
  for (std::size_t I = 0; I < A.size() && I < 16; ++I) S << " " << A[I];
  if (A.size() > 16) S << " ...";
  return S.str();
}

inline THostileOutcome RunHostileOnce(const THostileCase& C, THostile& H, bool& Threw) {
  TProgressGuard Restore;
  Threw = false;
  try {
    return C.Run(H);
  } catch (const std::exception& E) {
    ADD_FAILURE() << C.Name << ": " << E.what();
  }
  Threw = true;
  return {};
}

inline void RunHostile(std::span<const THostileCase> Cases) {
  constexpr THostileAction Actions[] = {THostileAction::Shrink, THostileAction::Grow, THostileAction::Empty,
                                        THostileAction::Reallocate, THostileAction::ToSparse};
  // ORV_HOSTILE_ONLY=text runs only the cases whose name holds the text
  // (one row at a time under a sanitizer, which stops at the first fault).
  const char* Only = std::getenv("ORV_HOSTILE_ONLY");
  for (const THostileCase& C : Cases) {
    if (Only != nullptr && std::string_view(C.Name).find(Only) == std::string_view::npos) continue;
    bool Threw;
    THostile Count(THostileAction::None, 0);
    const THostileOutcome Undisturbed = RunHostileOnce(C, Count, Threw);
    const int32_t N = Count.Calls();
    if (Threw) continue;
    if (N == 0) {
      ADD_FAILURE() << C.Name << ": no host code ran";
      continue;
    }
    int32_t Attacks = 0;
    std::vector<int32_t> Ats{1};
    if (N >= 2) Ats.push_back(2);
    if ((N + 1) / 2 > 2) Ats.push_back((N + 1) / 2);
    for (const int32_t At : Ats) {
      for (const THostileAction A : Actions) {
        THostile H(A, At);
        const THostileOutcome Got = RunHostileOnce(C, H, Threw);
        // A threaded routine may call its host code fewer times than before.
        if (Threw || !H.Supported() || !H.Acted()) continue;
        ++Attacks;
        const bool Ok = SameOutcome(Got.Got, Undisturbed.Got) || (!Got.Now.empty() && SameOutcome(Got.Got, Got.Now)) ||
                        (!Got.Failure.empty() && SameOutcome(Got.Got, Got.Failure)) ||
                        (C.Failed && C.Failed(Got.Got, Undisturbed.Got));
        EXPECT_TRUE(Ok) << C.Name << ": " << ActionName(A) << " at call " << At << " of " << N
                        << "\n  got         " << ShowOutcome(Got.Got) << "\n  undisturbed "
                        << ShowOutcome(Undisturbed.Got) << "\n  now         " << ShowOutcome(Got.Now);
      }
    }
    EXPECT_GT(Attacks, 0) << C.Name << ": no action reached its call";
  }
}

}  // namespace orv::test

// The fixture's names, for a hostile test file: using namespace test::hostile_names.
namespace orv::test::hostile_names {
using test::Cells;
using test::CheckedAccessorsOnly;
using test::Outcome;
using test::ResultIs;
using test::Targets;
using test::THostile;
using test::THostileCase;
using test::THostileOutcome;
}  // namespace orv::test::hostile_names
