// Unit ORV_datatable: the data table component TDataTable. The unit's entry
// point: one header per class in datatable/, and datatable/common.h for what
// they share.
#pragma once

#include "orvcalckit/datatable/common.h"
#include "orvcalckit/datatable/TDataTable.h"
