// Platform layer: the exception classes the library raises or lets through.
#pragma once

#include <stdexcept>
#include <string>

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

}  // namespace orv
