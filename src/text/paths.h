#pragma once

#include <string>
#include <string_view>
#include <vector>

// Path rules for both styles, so the Windows rules are tested on every machine. The program
// itself uses the native style.
namespace arcavio {

enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativeStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativeStyle = PathStyle::Posix;
#endif

char separator(PathStyle style = kNativeStyle);

// Text before the last separator (or colon, Windows style); that separator is dropped unless
// it follows a colon or another separator: C:\MAME\mame.exe gives C:\MAME, C:\mame.exe gives
// C:\, /mame gives /, and a bare name gives the empty text.
std::string directoryPart(std::string_view path, PathStyle style = kNativeStyle);

bool hasDirectoryPart(std::string_view path, PathStyle style = kNativeStyle);

// Text after the last separator (or colon).
std::string fileNamePart(std::string_view path, PathStyle style = kNativeStyle);

// The text from the last dot that follows the last separator removed: my.game.zip gives my.game.
std::string removeExtension(std::string_view path, PathStyle style = kNativeStyle);

// The extension without its dot, or the empty text.
std::string extensionOf(std::string_view path, PathStyle style = kNativeStyle);

// Directory, one separator unless the directory already ends with one, then the name.
std::string joinPath(std::string_view directory, std::string_view name, PathStyle style = kNativeStyle);

// The emulator's search paths hold several folders separated by ";": the folders in their order,
// empty elements left out.
inline constexpr char kPathListSeparator = ';';
std::vector<std::string> splitPathList(std::string_view value);

// A folder value as the emulator reads it, with each folder that has no directory part taken
// relative to base. A value without ";" is one folder and keeps its exact form: joined to base
// when it has no directory part, unchanged otherwise, so an empty value gives base and a
// separator. A list is rejoined by ";" without its empty elements.
std::string resolvePathList(std::string_view value, std::string_view base, PathStyle style = kNativeStyle);

} // namespace arcavio
