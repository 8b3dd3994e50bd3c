// The radix-2 FFT of TFastFourier on interleaved complex points (internal).
#pragma once

#include <cstdint>

namespace orv::detail {

// The twiddles of every span L = 2, 4, ..., N (N a power of two) into T,
// N - 1 complex values interleaved: those of span L, w_L^0 .. w_L^(L/2 - 1),
// from complex offset L/2 - 1. Each span runs its own trigonometric
// recurrence from w = 1 with theta = 2 pi / L.
void FillFftTwiddles(double* T, int64_t N);

// In place over N complex points (X[2k] real, X[2k + 1] imaginary), Sign
// +1 or -1: X_k = sum_n x_n e^(Sign 2 pi i n k / N), without scaling. T
// from FillFftTwiddles(T, N); the span twiddles of Sign -1 are their
// conjugates.
void FastFourierTransform(double* X, const double* T, int64_t N, double Sign);

}  // namespace orv::detail
