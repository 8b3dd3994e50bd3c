// Unit ORV_matrix: the worker threads of TMatrix::Square. Included through ORV_matrix.h.
//
// The routines create, start, wait for and free their workers themselves; a
// host has no need to. A worker is created suspended, its fields are set,
// then it is started; it reads its source, writes only its own cells and
// calls Terminate as its last action.
#pragma once

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/matrix/TMatrix.h"
#include "orvcorekit/Orv_classes.h"

namespace orv {

// Cells (Column, j) and (j, Column) of ResMat for j = Column .. columns of
// SrcMat (see TMatrix::Square); then ProcStat grows by 1.
class ORV_API TMatSq1ColThread : public TThread {
 public:
  std::string ClassName() const override;

  int32_t Column = 1;
  double Norm = 1.0;
  const TMatrix* SrcMat = nullptr;
  TMatrix* ResMat = nullptr;

 protected:
  void Execute() override;
};

}  // namespace orv
