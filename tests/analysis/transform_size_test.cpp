// The signal lengths that TFastFourier and TWavelet1D accept: 1, 2, 4, ...,
// 2^23. Values with exactly one of their low 24 bits set but further bits
// above (2^24 + 1, -2^31 + 1) once passed as well.
#include <gtest/gtest.h>

#include <cstdint>

#include "orvcalckit/ORV_fourier.h"
#include "orvcalckit/ORV_wavelet.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;

constexpr int32_t Accepted[] = {1, 2, 4, 1024, 1 << 23};
constexpr int32_t Refused[] = {0,       3,           48,       100,       -1,        1 << 24, (1 << 24) + 1,
                               1 << 30, INT32_MIN,   INT32_MIN + 1, -(1 << 23), (1 << 23) + 1, INT32_MAX};

TEST(TransformSize, PowersOfTwoUpTo2To23Only) {
  TFastFourier F;
  TWavelet1D W;
  F.SetName("FFT1");
  W.SetName("Wavelet1");
  for (int32_t Size : Accepted) {
    F.SetSpectrumSize(Size);
    W.SetSize(Size);
    EXPECT_EQ(F.SpectrumSize(), Size);
    EXPECT_EQ(W.Size(), Size);
    EXPECT_EQ(F.FData.size(), 2u * static_cast<uint32_t>(Size));
  }
  F.SetSpectrumSize(4);
  W.SetSize(4);
  F.SetRealSpec(2, 7.0);
  W.SetData(3, 5.0);
  for (int32_t Size : Refused) {
    ExpectRaises<EORVFourierError>([&] { F.SetSpectrumSize(Size); },
                                   "Component \"FFT1\": data length must be power of 2");
    ExpectRaises<EORVWaveletError>([&] { W.SetSize(Size); },
                                   "Component \"Wavelet1\": data length must be power of 2");
    // Unchanged, values kept.
    EXPECT_EQ(F.SpectrumSize(), 4) << Size;
    EXPECT_EQ(F.FData.size(), 8u) << Size;
    EXPECT_EQ(F.RealSpec(2), 7.0) << Size;
    EXPECT_EQ(W.Size(), 4) << Size;
    EXPECT_EQ(W.Data(3), 5.0) << Size;
  }
}

}  // namespace
}  // namespace orv
