// Unit ORV_vector: what its classes share. Included through ORV_vector.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/storage_stamp.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's components: Component "<Name>": <problem>.
class ORV_API EORVVectorError : public EORVError {
 public:
  using EORVError::EORVError;
};

// The rules of TVector::Integrate.
enum TIntegMethod : uint8_t { imSimple = 0, imTrapezoidal = 1, imSimpson = 2 };

class TVector;
class TIntVector;

// The core the unit's vector classes share (internal); each befriends it.
namespace detail {
template <class V>
struct TVectorOps;
}

}  // namespace orv
