// Unit ORV_statis: statistical tests with their tables, distributions and
// special functions, classifier evaluation and cross-validation. The unit's
// entry point: one header per topic or class in statis/, and statis/common.h
// for what they share. Every probability and p-value a routine returns lies
// within 0..1 (or is NaN, or one of the routine's negative codes): sums of
// rounded terms that would pass 1 by a few units in the last place give 1.
#pragma once

#include "orvcalckit/statis/common.h"
#include "orvcalckit/statis/contingency.h"
#include "orvcalckit/statis/continuous.h"
#include "orvcalckit/statis/density.h"
#include "orvcalckit/statis/distrib.h"
#include "orvcalckit/statis/groups.h"
#include "orvcalckit/statis/kolmogorov.h"
#include "orvcalckit/statis/runs.h"
#include "orvcalckit/statis/special.h"
#include "orvcalckit/statis/tabletests.h"
#include "orvcalckit/statis/TCFEvaluator.h"
#include "orvcalckit/statis/TCrossValidator.h"
#include "orvcalckit/statis/TRandGen.h"
