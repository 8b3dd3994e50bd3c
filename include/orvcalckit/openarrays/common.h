// Unit ORV_openarrays: the conventions that all its families share. Included
// through ORV_openarrays.h.
//
// Free routines over the dynamic arrays of Orv_orvbase.h (TDoubleArray ..
// TDouble4DArray, TIntArray .. TInt4DArray, TSingleArray, TBoolArray,
// TBool2DArray, TStrArray); a few take an open array as a std::span instead.
// The unit keeps no state and reports no progress unless a routine says so;
// every routine runs on the caller's thread and works only on its arguments.
//
// - Indices are 0-based and ranges inclusive (Lo..Hi). A 2-D array is indexed
//   A[column][row]; in 3-D and 4-D arrays dimension 1 is the outer level.
// - Extents are read through element 0 of each level: the number of columns is
//   the length of A, of rows the length of A[0], then of A[0][0] and of
//   A[0][0][0]. An array is empty at a level of length 0 (a level below it,
//   which has no element 0, is empty too). An array whose sub-arrays differ
//   in length from element 0 of their level (ragged) counts as empty: the
//   routine gives the result it gives for an empty array and writes nothing,
//   unless it says otherwise.
// - Boxes come in two forms, each routine says which: corner form, all low
//   indices (dimension 1 first) then all high ones (2-D: ColLo, RowLo, ColHi,
//   RowHi); pair form, low and high per dimension (ColLo, ColHi, RowLo, RowHi).
// - Results: 0 for success, or a count or an index (0 or more); -1 an input
//   empty at a level the routine checks; -2 and lower bad indices, ranges,
//   sizes or arguments. Each routine gives its codes and which one wins.
// - Nothing is raised of the unit's own; when an output cannot be allocated,
//   std::bad_alloc reaches the caller. Inputs that are only read are const
//   references; outputs that a routine sizes are built aside and take their new
//   value only on success, so a failing call leaves them as they were and one
//   variable may be input and output at once.
// - Minimum and maximum searches compare strictly: among equal extreme cells
//   the first in scan order (the outer index slowest) wins. Empty values:
//   -2147483648 for a maximum and 2147483647 for a minimum of Integers,
//   -uc_MaxDouble and uc_MaxDouble of doubles, -uc_MaxSingle and uc_MaxSingle
//   of singles. Doubles compare exactly.
// - Cell conversions: a double becomes an Integer clamped into
//   -2147483648 .. 2147483647 (NaN becomes 2147483647), then rounded half to
//   even (2.5 to 2, 3.5 to 4); a single by rounding to the nearest single,
//   +-infinity beyond the single range. Integers and singles become doubles
//   exactly.
// - Index results and position outputs are Integers: a routine that reports
//   one treats an array whose level is longer than 2147483647 cells as empty.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_univconst.h"
