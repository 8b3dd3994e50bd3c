// Base unit Orv_streams: streams, numbers on streams, tags of text files.
#pragma once

#include "Orv_export.h"

namespace orv {}  // namespace orv
