// Unit ORV_matrix: the worker threads of TMatrix::Square and of the layer
// statistics of TMat4D. Included through ORV_matrix.h.
//
// The routines create, start, wait for and free their workers themselves; a
// host has no need to. A worker is created suspended, its fields are set,
// then it is started; it reads its source, writes only its own cells and
// calls Terminate as its last action.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/matrix/TMat4D.h"
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

// What the four workers of the layer statistics share. A worker reduces
// ColumnCount adjacent columns from Column on, column by column writing
// its cells and adding 100 / (HighCol - LowCol + 1) to ProcStat under
// Lock. Lock is the call's own: it also keeps DestMat's OnChange calls
// apart.
class ORV_API TLayerStatThread : public TThread {
 public:
  int32_t Column = 1;
  TMatrix* DestMat = nullptr;
  const TMat4D* Mat = nullptr;
  int32_t LowCol = 1, HighCol = 1, LowRow = 1, HighRow = 1, LowLayer = 1, HighLayer = 1, LowTimeSlot = 1,
          HighTimeSlot = 1;
  int32_t ColumnCount = 1;
  std::mutex* Lock = nullptr;
};

class ORV_API TMeanOfLayersThread : public TLayerStatThread {
 public:
  std::string ClassName() const override;
  int64_t NTotal = 1;  // layers x time slots of the block

 protected:
  void Execute() override;
};

class ORV_API TMaximumOfLayersThread : public TLayerStatThread {
 public:
  std::string ClassName() const override;

 protected:
  void Execute() override;
};

class ORV_API TMinimumOfLayersThread : public TLayerStatThread {
 public:
  std::string ClassName() const override;

 protected:
  void Execute() override;
};

class ORV_API TStdDevOfLayersThread : public TLayerStatThread {
 public:
  std::string ClassName() const override;
  int64_t NTotal = 1;  // layers x time slots of the block

 protected:
  void Execute() override;
};

}  // namespace orv
