// Unit ORV_matrix: the matrix component TMatrix. The unit's entry point: one
// header per class in matrix/, and matrix/common.h for what they share.
#pragma once

#include "orvcalckit/matrix/common.h"
#include "orvcalckit/matrix/TMatrix.h"
