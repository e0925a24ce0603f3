#pragma once

#include "text/linelist.h"

namespace arcavio {

// The help the help window shows when no help.ini replaces it.
const LineList& builtinHelpText();

} // namespace arcavio
