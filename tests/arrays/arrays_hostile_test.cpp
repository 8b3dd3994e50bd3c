// Host code that resizes, empties or moves the dynamic arrays a routine of
// ORV_openarrays works on, from MathFeedBackProc, on its first, second and a
// middle call (support/hostile.h). Only the routines that report progress
// call host code: InvertArray, CalcHatMatrix through it, and
// SortAndRemoveDuplicates through SortArray of ORV_math1.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"
#include "support/hostile.h"

namespace orv {
namespace {

using namespace test::hostile_names;
using test::ScanCells;

// 2 columns of 5 rows, X'X well away from singular.
TDouble2DArray Design() { return {{20, 2, 3, 4, 5}, {1, 4, 9, 16, 25}}; }

const THostileCase Cases[] = {
    {"InvertArray, MathFeedBackProc resizes or moves the array",
     [](THostile& H) {
       TDouble2DArray A{{4, 2, 1}, {2, 5, 3}, {1, 3, 6}};
       MathFeedBackProc = H.On(A);
       const int32_t Code = InvertArray(A);
       return THostileOutcome{Outcome(Code, Code == 0 ? ScanCells(A) : TDoubleArray{})};
     },
     ResultIs(-3)},
    {"CalcHatMatrix, MathFeedBackProc resizes or moves X",
     [](THostile& H) {
       TDouble2DArray X = Design(), Hat;
       MathFeedBackProc = H.On(X);
       const int32_t Code = CalcHatMatrix(X, Hat);
       return THostileOutcome{Outcome(Code, ScanCells(Hat))};
     },
     ResultIs(-3)},
    {"CalcHatMatrix, MathFeedBackProc resizes or moves the result",
     [](THostile& H) {
       TDouble2DArray X = Design(), Hat{{1, 2}};
       MathFeedBackProc = H.On(Hat);
       const int32_t Code = CalcHatMatrix(X, Hat);
       return THostileOutcome{Outcome(Code, ScanCells(Hat))};
     }},
    {"SortAndRemoveDuplicates, MathFeedBackProc resizes or moves the array",
     [](THostile& H) {
       TIntArray A{5, 3, 9, 3, 1, 5, 8, 2, 9, 7, 1, 4};
       MathFeedBackProc = H.On(A);
       const int32_t Removed = SortAndRemoveDuplicates(A, true);
       return THostileOutcome{Outcome(Removed, A)};
     }},
};

TEST(ArraysHostile, RoutinesSurviveHostCodeThatChangesTheirArrays) { test::RunHostile(Cases); }

}  // namespace
}  // namespace orv
