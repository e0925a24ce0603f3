#pragma once

#include <string>
#include <string_view>

#include "base/language.h"

namespace arcavio {

inline constexpr std::string_view kContactAddress = "arcavio@example.org";
inline constexpr std::string_view kBuiltinAuthor = "the Arcavio developers";

std::string technicalHelpText();
std::string suggestionText();
std::string aboutEmulatorText();
// Language line 151 when a language file is loaded, otherwise the built-in text.
std::string aboutLanguageText(const Language& lang);
// The About the Skin text without a skin, and the default of the skin's About key.
std::string builtinSkinAboutText();

} // namespace arcavio
