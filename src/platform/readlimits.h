#pragma once

#include <cstddef>

// The most the program reads of any one file or stream. Anything larger is refused as a file
// that cannot be opened, so neither a huge file nor an endless one (a link to a device) can
// exhaust memory or hold the window. The README lists these figures.
namespace arcavio::platform {

inline constexpr std::size_t kMebibyte = std::size_t{1} << 20;

inline constexpr std::size_t kConfigurationFileLimit = kMebibyte;
inline constexpr std::size_t kLanguageFileLimit = kMebibyte;
inline constexpr std::size_t kHelpFileLimit = kMebibyte;
inline constexpr std::size_t kSkinFileLimit = kMebibyte;
inline constexpr std::size_t kGameListFileLimit = 64 * kMebibyte;
// The results of checking a full collection with every emulator version kept, many times over.
inline constexpr std::size_t kSetCheckCacheLimit = 64 * kMebibyte;
inline constexpr std::size_t kPictureFileLimit = 64 * kMebibyte;
// What a started program prints, for the process service that collects it.
inline constexpr std::size_t kProgramOutputLimit = 64 * kMebibyte;

} // namespace arcavio::platform
