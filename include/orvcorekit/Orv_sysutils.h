// Platform layer: the exception classes the library raises or lets through.
#pragma once

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Orv_export.h"

namespace orv {

// The platform's plain exception: a message, readable as Message() or what().
class ORVCORE_API Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Msg) : std::runtime_error(Msg) {}
  std::string Message() const { return what(); }
};

// An unsupported conversion or copy, e.g. Assign between unrelated classes.
class ORVCORE_API EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Floating-point failures. C++ does not trap, so a routine that must fail on
// them tests for the condition and raises one of these itself.
class ORVCORE_API EMathError : public Exception {
 public:
  using Exception::Exception;
};
class ORVCORE_API EZeroDivide : public EMathError {
 public:
  using EMathError::EMathError;
};
class ORVCORE_API EInvalidOp : public EMathError {
 public:
  using EMathError::EMathError;
};
class ORVCORE_API EOverflow : public EMathError {
 public:
  using EMathError::EMathError;
};

// Input and output failures of files and streams; ErrorCode is errno-like.
class ORVCORE_API EInOutError : public Exception {
 public:
  EInOutError(const std::string& Msg, int Code = 0) : Exception(Msg), ErrorCode(Code) {}
  int ErrorCode;
};

// Text to number, independent of the locale. Blanks and other characters
// up to 32 around the number are allowed; nothing else may stand beside it.
// TryStrToInt takes a decimal integer with an optional sign that fits in 32
// bits. TryStrToFloat takes an optional sign, digits with an optional "."
// (".5" and "5." included) and an optional exponent "E" or "e" with an
// optional sign; no infinities, NaN or hexadecimal. A magnitude beyond the
// double range fails; one below the smallest denormal gives a signed 0.
// Both leave Value unchanged when they fail.
ORVCORE_API bool TryStrToInt(std::string_view S, int32_t& Value);
ORVCORE_API bool TryStrToFloat(std::string_view S, double& Value);
// TryStrToInt or EConvertError "'<S>' is not a valid integer value".
ORVCORE_API int32_t StrToInt(std::string_view S);

// A equals B when the letters A-Z and a-z are taken as equal to each other;
// every other byte (UTF-8 sequences included) must match exactly.
ORVCORE_API bool SameText(std::string_view A, std::string_view B);

// Runs Body; when it runs out of memory (std::bad_alloc, or std::length_error
// for a size beyond a container's reach) the error MakeError() returns is
// thrown instead, so every routine reports the failure in its own words.
template <class Body, class MakeError>
decltype(auto) GuardAllocation(Body&& B, MakeError&& Make) {
  try {
    return B();
  } catch (const std::bad_alloc&) {
    throw Make();
  } catch (const std::length_error&) {
    throw Make();
  }
}

}  // namespace orv
