// Unit ORV_math2: analysis routines (covariance, eigenvectors, principal
// components, ranks, filters of vectors, pseudo-inverse, clustering, nearest
// neighbours, polygons and convex hulls, ...). The unit's entry point: one header per topic in math2/, and
// math2/common.h for what they share.
// CalcFishQ, which this unit shares with ORV_statis, is declared there
// (statis/distrib.h).
#pragma once

#include "orvcalckit/ORV_statis.h"
#include "orvcalckit/math2/cluster.h"
#include "orvcalckit/math2/common.h"
#include "orvcalckit/math2/covar.h"
#include "orvcalckit/math2/eigen.h"
#include "orvcalckit/math2/filterdesign.h"
#include "orvcalckit/math2/knn.h"
#include "orvcalckit/math2/polygons.h"
#include "orvcalckit/math2/ranks.h"
#include "orvcalckit/math2/smooth.h"
#include "orvcalckit/math2/svd.h"
#include "orvcalckit/math2/TCurveFit.h"
