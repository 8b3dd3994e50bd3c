// The bracket balance of an expression.
#include <cstdint>
#include <string_view>

#include "orvcalckit/ORV_math2.h"

namespace orv {

int32_t CheckParanthInExp(std::string_view Expression) {
  int64_t Count = 0;
  int64_t Position = 0;
  for (const char C : Expression) {
    // Continuation bytes of a UTF-8 sequence (10xxxxxx) start no character.
    if ((static_cast<unsigned char>(C) & 0xC0u) != 0x80u) ++Position;
    if (C == '(') {
      ++Count;
    } else if (C == ')') {
      if (Count == 0) return Position > INT32_MAX ? INT32_MIN : static_cast<int32_t>(-Position);
      --Count;
    }
  }
  return Count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(Count);
}

}  // namespace orv
