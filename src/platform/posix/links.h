#pragma once

#include <optional>
#include <string>

namespace arcavio::platform::posix {

// The entry a chain of links finally names, which need not exist yet; no value for a loop or
// a link that cannot be read.
std::optional<std::string> finalTarget(std::string path);

} // namespace arcavio::platform::posix
