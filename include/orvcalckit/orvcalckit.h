// Everything of orvcalckit_rt and of the base library it stands on.
#pragma once

#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_dstruct.h"
#include "orvcorekit/Orv_filesys.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_orvcolors.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

#include "ORV_complex.h"
#include "ORV_datatable.h"
#include "ORV_fourier.h"
#include "ORV_math1.h"
#include "ORV_math2.h"
#include "ORV_matrix.h"
#include "ORV_package.h"
#include "ORV_sline.h"
#include "ORV_vector.h"
#include "ORV_wavelet.h"
