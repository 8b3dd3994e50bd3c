// Unit ORV_statis: the runs tests of a Boolean sequence and of a series
// split at its median. Included through ORV_statis.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_dstruct.h"

namespace orv {

// The probability that a random arrangement of N1 items of one kind and N2 of
// the other shows at most Runs runs. The counts of arrangements are exact
// 64-bit integers while C(N1 + N2, N1) stays below 2^56 (every sample of up
// to 56 items), the quotient in double; beyond that the same sums are formed
// in double (relative error about 1e-13), and -1 is returned where
// C(N1 + N2, N1) passes the double range. A sequence of one kind (N1 or N2
// = 0, the other not) has one run. 0 when Runs < 2 (or below 1 for one
// kind) or a count is negative.
ORV_API double ExactRunsTest(int32_t N1, int32_t N2, int32_t Runs);

// Wald and Wolfowitz's runs test of the members 0..Size of Bits: N1 true and
// N2 false members, and the number of runs. Exact (ExactRunsTest, the lower
// tail: too few runs) while N1 and N2 are at most 25; else the normal
// approximation, p the tail of the side z lies on. True when p < 0.05. A
// sequence of one kind is no evidence: p = 1 and false. nullptr: false, P
// unchanged.
ORV_API bool RunsTest(const TBitFld* Bits, double& P);

// RunsTest of the elements of Data taken as above (true) or not above their
// median (Quartiles). P = -1 and false when the median cannot be formed or
// Data is nullptr. The sort of Quartiles calls MathFeedBackProc, which may
// change Data: with one assigned the series is read from a copy taken
// first, so median and series are Data's at the call.
ORV_API bool RunsTestSerial(const TVector* Data, double& P);

}  // namespace orv
