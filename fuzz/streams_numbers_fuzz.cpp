// Numbers read from a stream of arbitrary bytes: a read takes exactly its
// bytes or, when fewer are left, gives false and leaves X unchanged. An extended
// number is the x87 format rounded to the nearest double, which the 64-bit
// build checks against the processor's own conversion of long double.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_streams.h"

namespace {

// The double the processor makes of the 80-bit number B; NaN for the
// encodings the x87 does not accept (unnormals, pseudo-infinities and
// pseudo-NaNs), as the reader documents.
bool Reference(const uint8_t* B, double& X) {
#if defined(__x86_64__) || defined(__i386__)
  static_assert(sizeof(long double) >= 10);
  uint64_t Mant = 0;
  uint16_t SE = 0;
  std::memcpy(&Mant, B, 8);
  std::memcpy(&SE, B + 8, 2);
  if ((SE & 0x7FFF) != 0 && !(Mant >> 63)) {
    X = std::nan("");
    return true;
  }
  long double L = 0;
  std::memcpy(&L, B, 10);
  X = static_cast<double>(L);
  return true;
#else
  (void)B;
  (void)X;
  return false;
#endif
}

bool SameDouble(double A, double B) {
  return std::isnan(A) ? std::isnan(B) : std::bit_cast<uint64_t>(A) == std::bit_cast<uint64_t>(B);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  orv::TMemoryStream S;
  S.WriteBuffer(Data, static_cast<int64_t>(Size));
  S.SetPosition(0);
  // The first byte picks the kind of each read, bit by bit.
  const uint8_t Kinds = Size > 0 ? Data[0] : 0;
  int64_t Pos = 0;
  for (int I = 0;; ++I) {
    const int64_t Left = static_cast<int64_t>(Size) - Pos;
    if ((Kinds >> (I % 8)) & 1) {
      int32_t X = -5;
      const bool Ok = orv::ReadLongintFromStream(&S, X);
      ORV_FUZZ_CHECK(Ok == (Left >= 4));
      if (!Ok) {
        ORV_FUZZ_CHECK(X == -5);
        break;
      }
      uint32_t U = 0;
      for (int K = 0; K < 4; ++K) U |= uint32_t{Data[Pos + K]} << (8 * K);
      ORV_FUZZ_CHECK(X == static_cast<int32_t>(U));
      Pos += 4;
    } else {
      double X = -0.5;
      const bool Ok = orv::ReadExtendedFromStream(&S, X);
      ORV_FUZZ_CHECK(Ok == (Left >= 10));
      if (!Ok) {
        ORV_FUZZ_CHECK(X == -0.5);
        break;
      }
      double Ref = 0;
      if (Reference(Data + Pos, Ref)) ORV_FUZZ_CHECK(SameDouble(X, Ref));
      // What was read writes and reads back unchanged.
      orv::TMemoryStream T;
      orv::WriteExtendedToStream(&T, X);
      T.SetPosition(0);
      double Back = 0;
      ORV_FUZZ_CHECK(T.Size() == 10 && orv::ReadExtendedFromStream(&T, Back) && SameDouble(Back, X));
      Pos += 10;
    }
    ORV_FUZZ_CHECK(S.Position() == Pos);
  }
  // The failed read took the bytes that were left, as TStream::Read does.
  ORV_FUZZ_CHECK(S.Position() == static_cast<int64_t>(Size));
  return 0;
}
