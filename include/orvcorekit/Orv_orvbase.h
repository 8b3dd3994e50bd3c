// Base unit Orv_orvbase: the error base class, the dynamic array, point and
// event types, the shared enumerations and the progress and abort globals.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "Orv_classes.h"
#include "Orv_export.h"
#include "Orv_sysutils.h"
#include "Orv_system.h"

namespace orv {

// Base of every unit's error class.
class ORVCORE_API EORVError : public Exception {
 public:
  using Exception::Exception;
};

// A Boolean cell of one byte. Boolean arrays hold TBool, not bool: their
// cells are real bytes with addresses, so code written for any element type
// takes a TBool& like a double&, where std::vector<bool> hands out proxies of
// packed bits. It reads and writes like bool: A[i] = true; if (A[i]) ...
class TBool {
 public:
  constexpr TBool(bool Value = false) noexcept : FValue(Value) {}
  constexpr operator bool() const noexcept { return FValue; }

 private:
  bool FValue;
};
static_assert(sizeof(TBool) == 1 && std::is_trivially_copyable_v<TBool>);

// ---- dynamic arrays: 2-D and higher indexed [column][row][layer][slot] ----
using TDoubleArray = std::vector<double>;
using TDouble2DArray = std::vector<TDoubleArray>;
using TDouble3DArray = std::vector<TDouble2DArray>;
using TDouble4DArray = std::vector<TDouble3DArray>;
using TIntArray = std::vector<int32_t>;
using TInt2DArray = std::vector<TIntArray>;
using TInt3DArray = std::vector<TInt2DArray>;
using TInt4DArray = std::vector<TInt3DArray>;
using TSingleArray = std::vector<float>;
using TBoolArray = std::vector<TBool>;
using TBool2DArray = std::vector<TBoolArray>;
using TStrArray = std::vector<std::string>;

struct TPointDouble {
  double X = 0;
  double Y = 0;
  friend bool operator==(const TPointDouble&, const TPointDouble&) = default;
};

struct TRectDouble {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  friend bool operator==(const TRectDouble&, const TRectDouble&) = default;
};

using TPDblArray = std::vector<TPointDouble>;  // polygon of real points
using TPIntArray = std::vector<TPoint>;        // polygon of integer points

// ---- events -------------------------------------------------------------------
// An exchange made by a sort: a kind byte and the four positions involved.
using TSortExchgEvent =
    std::function<void(TObject* Sender, uint8_t Kind, int32_t I1, int32_t I2, int32_t I3, int32_t I4)>;
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int32_t Percent)>;
using TOnCheckAbortEvent = std::function<void(TObject* Sender, bool& Abort)>;

// ---- enumerations ---------------------------------------------------------------
// Fixed underlying types: a caller may pass any ordinal, and the routines
// define what an ordinal outside the named ones does.
enum TVarKind : uint8_t { vkDouble = 0, vkReal = 1, vkSingle = 2, vkInteger = 3, vkLongInt = 4 };
enum TDistMode : uint8_t {
  dmTanimoto = 0,
  dmCityBlock = 1,
  dmEuclidean = 2,
  dmSqrEuclidean = 3,
  dmDice = 4,
  dmUser = 5  // supplied by the host through OnCalcDistance
};
enum TOrientation : uint8_t { orRows = 0, orColumns = 1 };  // any ordinal but 0 means per column
enum TEdgeOp : uint8_t { eoMinimum = 0, eoMaximum = 1, eoSum = 2, eoMean = 3 };
enum TDims : uint8_t { dimColumns = 0, dimRows = 1 };
enum TDegreeFormat : uint8_t { dfDecimal = 0, dfDegMin = 1, dfDegMinSec = 2, dfPlain = 3 };

// ---- progress and abort ---------------------------------------------------------
// ProcStat counts the passes of long loops; nothing in the library resets it.
// It is atomic so that worker threads may add to it while the host reads it.
using TMathFeedBackProc = std::function<void(double ProcStat)>;
ORVCORE_API extern std::atomic<double> ProcStat;
// Called with the new ProcStat after each pass; empty means none. Set it only
// while no library call runs.
ORVCORE_API extern TMathFeedBackProc MathFeedBackProc;
// Set by the host (from any thread) to stop the loops that test it.
ORVCORE_API extern std::atomic<bool> AbortMathProc;

// One pass done: adds Delta to ProcStat and calls MathFeedBackProc with the new
// value when assigned. Returns the new value. Safe to call from workers only
// with Report false (the feedback runs on the caller's thread).
ORVCORE_API double IncProcStat(double Delta = 1.0, bool Report = true);

}  // namespace orv
