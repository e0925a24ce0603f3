#pragma once

#include <string>
#include <string_view>

#include "text/paths.h"

namespace arcavio {

// "Name|pattern|Name|pattern" as the windows describe their open-file dialogs, turned into
// the toolkit's "Name (pattern);;Name (pattern)". Programs on POSIX have no extension, so
// there ".exe" leaves the patterns (an "*.exe" becomes "*") and "*.*" becomes "*"; the
// entry names stay as they are.
std::string fileDialogFilter(std::string_view filter, PathStyle style = kNativeStyle);

} // namespace arcavio
