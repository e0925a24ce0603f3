#pragma once

#include <string>

#include "platform/process.h"

namespace arcavio::test {

// Debian's MAME, which the tests run headless when it is installed.
inline const std::string kInstalledMame = "/usr/games/mame";

inline bool mameInstalled()
{
    return platform::isExecutableFile(kInstalledMame);
}

} // namespace arcavio::test

#define SKIP_WITHOUT_MAME()                                                                                  \
    if (!::arcavio::test::mameInstalled())                                                                   \
    GTEST_SKIP() << "Debian's MAME is not installed at " << ::arcavio::test::kInstalledMame
