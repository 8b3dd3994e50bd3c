// Export macro of the base library. Everything is hidden by default; only what
// carries ORVCORE_API (and lives in namespace orv) is part of the ABI.
#pragma once

#define ORVCORE_API __attribute__((visibility("default")))
