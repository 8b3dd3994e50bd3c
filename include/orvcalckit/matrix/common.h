// Unit ORV_matrix: what its classes share (error class, event and enumeration
// types). Included through ORV_matrix.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/storage_stamp.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's components: Component "<Name>": <problem>.
class ORV_API EORVMatrixError : public EORVError {
 public:
  using EORVError::EORVError;
};

// The host's distance between rows Row1 and Row2 (distance mode dmUser).
using TOnCalcDistanceEvent =
    std::function<void(TObject* Sender, int32_t Row1, int32_t Row2, double& Distance)>;

enum TNormType : uint8_t { ntColwise = 0, ntRowwise = 1, ntSpectral = 2, ntFrobenius = 3 };
enum TMatXmlTag : uint8_t {
  xmlMatNumCols = 0,
  xmlMatNumRows = 1,
  xmlMatNumLayers = 2,
  xmlMatNumTimeSlots = 3,
  xmlMatCell = 4,
  xmlMatBegin = 5,
  xmlMatEnd = 6,
  xmlInvalid = 7
};

// The most cells the size tags of an XML text may size a component to (the
// component's XmlCellLimit, 1 GiB of doubles): a text cannot claim more
// memory than this, and a reader lowers the limit where it knows better (say,
// from the size of the file or the matrices it expects).
inline constexpr int64_t DefaultXmlCellLimit = int64_t{1} << 27;

namespace detail {

// The counts announced by the size tags of an XML text, kept aside until its
// first cell tag sizes the component (see ProcessXmlTag of TMatrix).
// Count[k] is the value of the tag of axis k when Given[k].
template <std::size_t Axes>
struct TXmlAnnounced {
  std::array<int32_t, Axes> Count{};
  std::array<bool, Axes> Given{};
};

// The operations the unit's matrix classes share (internal); each befriends it.
template <class M>
struct TMatrixOps;

}  // namespace detail

}  // namespace orv
