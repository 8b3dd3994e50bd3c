// Everything of orvcalckit_rt and of the base library it stands on.
#pragma once

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

#include "ORV_package.h"
