// Base unit Orv_dstruct: the bit field TBitFld and CRC-32.
#pragma once

#include <cstdint>

#include "Orv_export.h"

namespace orv {

// The CRC-32 register Crc advanced by one byte B: the standard reflected
// CRC-32 (polynomial 0xEDB88320, as in zlib, PNG and Ethernet). The caller
// starts the register at 0xFFFFFFFF and complements it at the end, so the
// result equals any standard CRC-32 of the same bytes.
ORVCORE_API uint32_t CalcNextCRC32(uint8_t B, uint32_t Crc);

}  // namespace orv
