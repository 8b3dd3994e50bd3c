// Filling TMatrix cells: constants, the diagonal, random numbers.
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using Ops = detail::TMatrixOps<TMatrix>;

void TMatrix::Fill(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value) {
  Ops::FillBlock(*this, LowCol, HighCol, LowRow, HighRow, [Value] { return Value; });
}

void TMatrix::FillDiag(double Value) { Ops::FillDiag(*this, Value); }

void TMatrix::FillRandomUniform(double RangeLow, double RangeHigh) {
  FillRandomUniform(0, 0, 0, 0, RangeLow, RangeHigh);
}

void TMatrix::FillRandomUniform(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double RangeLow,
                                double RangeHigh) {
  Ops::FillBlock(*this, LowCol, HighCol, LowRow, HighRow,
                 [&] { return RangeLow + Random() * (RangeHigh - RangeLow); });
}

void TMatrix::FillRandomGauss(double Mean, double StdDev) { FillRandomGauss(0, 0, 0, 0, Mean, StdDev); }

void TMatrix::FillRandomGauss(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Mean,
                              double StdDev) {
  Ops::FillBlock(*this, LowCol, HighCol, LowRow, HighRow, [&] { return Mean + StdDev * GRandom(); });
}

}  // namespace orv
