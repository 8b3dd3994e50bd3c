// TMatrix block statistics, searching, comparison and checksum.
#include "linalg/histogram.h"
#include "linalg/matrix_stats.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Stats = detail::TMatrixStats<TMatrix>;

double TMatrix::Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const {
  return Stats::Sum(*this, LoC, LoR, HiC, HiR);
}

double TMatrix::Trace() const { return Stats::Trace(*this); }

void TMatrix::MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
                      double& Variance) const {
  Stats::MeanVar(*this, LowCol, LowRow, HighCol, HighRow, Mean, Variance);
}

double TMatrix::GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::GeometricMean(*this, LowCol, LowRow, HighCol, HighRow);
}

double TMatrix::HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::HarmonicMean(*this, LowCol, LowRow, HighCol, HighRow);
}

void TMatrix::SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                       double& Kurtosis) const {
  Stats::SkewKurt(*this, LowCol, LowRow, HighCol, HighRow, false, Skewness, Kurtosis);
}

void TMatrix::SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                             double& Kurtosis) const {
  Stats::SkewKurt(*this, LowCol, LowRow, HighCol, HighRow, true, Skewness, Kurtosis);
}

void TMatrix::MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Minimum,
                     double& Maximum) const {
  Stats::MinMax(*this, LowCol, LowRow, HighCol, HighRow, uc_MaxReal, -uc_MaxReal, Minimum, Maximum);
}

bool TMatrix::Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1, double& Q2,
                        double& Q3) const {
  return Stats::Quartiles(*this, LowCol, LowRow, HighCol, HighRow, Q1, Q2, Q3);
}

double TMatrix::Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  return Stats::Percentile(*this, Prob, LowCol, LowRow, HighCol, HighRow);
}

double TMatrix::Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                           int32_t SampleSize) const {
  return Stats::Percentile(*this, Prob, LowCol, LowRow, HighCol, HighRow, SampleSize);
}

int32_t TMatrix::CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double RangeLow,
                             double RangeHigh) const {
  return Stats::CountValues(*this, LowCol, HighCol, LowRow, HighRow, RangeLow, RangeHigh);
}

bool TMatrix::Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin, double LastBin,
                        double BinWidth, TIntVector* Histo, int32_t& Underflow, int32_t& Overflow,
                        int32_t& MaxCnt) const {
  detail::TRealBins Bins;
  if (Histo == nullptr || !detail::TRealBins::Make(FirstBin, LastBin, BinWidth, Bins, detail::TNaNBin::Underflow))
    return false;
  return Stats::Histogram(*this, LoX, LoY, HiX, HiY, *Histo, Bins, Underflow, Overflow, MaxCnt);
}

void TMatrix::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value, int32_t& ColIx,
                   int32_t& RowIx) const {
  Stats::Find(*this, LowCol, HighCol, LowRow, HighRow, Value, ColIx, RowIx);
}

int32_t TMatrix::FindInSortedColumn(int32_t Col, bool ColIsAscending, double Value) const {
  return Stats::FindInSortedColumn(*this, Col, ColIsAscending, Value);
}

double TMatrix::Correlate(const TMatrix* OtherMat) const {
  if (OtherMat == nullptr) return 0.0;
  if (OtherMat->FNCol != FNCol || OtherMat->FNRow != FNRow)
    detail::RaiseComponentError<EORVMatrixError>(*this, "matrices do not match");
  return detail::PearsonOf(
      [&](auto&& F) {
        for (int32_t C = 0; C < FNCol; ++C) {
          const double *X = Mat[detail::Ix(C)].data(), *Y = OtherMat->Mat[detail::Ix(C)].data();
          for (int32_t R = 0; R < FNRow; ++R) F(X[R], Y[R]);
        }
      },
      3);
}

std::string TMatrix::CRCofData() const { return Stats::CRCofData(*this); }

}  // namespace orv
