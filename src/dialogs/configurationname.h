#pragma once

#include <string>
#include <string_view>

namespace arcavio {

inline constexpr std::string_view kOverwriteQuestion = "This file already exists, overwrite?";

// True when the configuration-name dialog may hand the path back: nothing is there yet, or the
// user agreed to overwrite the file (asked through messages()).
bool mayUseConfigurationPath(const std::string& path);

} // namespace arcavio
