// Base unit Orv_filesys: ASC headers and words of text files.
#pragma once

#include "Orv_export.h"

namespace orv {}  // namespace orv
