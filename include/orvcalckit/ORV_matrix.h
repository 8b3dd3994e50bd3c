// Unit ORV_matrix: the matrix component TMatrix. The
// unit's entry point: one header per class in matrix/, matrix/common.h for
// what they share, matrix/xml.h for the number scanners of the XML step.
#pragma once

#include "orvcalckit/matrix/common.h"
#include "orvcalckit/matrix/TMatrix.h"
#include "orvcalckit/matrix/xml.h"
