// Export macro of orvcalckit_rt. Everything is hidden by default; only what
// carries ORV_API (and lives in namespace orv) is part of the ABI.
#pragma once

#define ORV_API __attribute__((visibility("default")))
