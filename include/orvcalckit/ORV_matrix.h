// Unit ORV_matrix: the matrix components TMatrix and TIntMatrix, the 3-D
// array TMat3D and the 4-D array TMat4D. The unit's entry point: one header
// per class in matrix/, matrix/common.h for what they share, matrix/xml.h for
// the number scanners of the XML step.
#pragma once

#include "orvcalckit/matrix/common.h"
#include "orvcalckit/matrix/TIntMatrix.h"
#include "orvcalckit/matrix/TMat3D.h"
#include "orvcalckit/matrix/TMat4D.h"
#include "orvcalckit/matrix/TMatrix.h"
#include "orvcalckit/matrix/workers.h"
#include "orvcalckit/matrix/xml.h"
