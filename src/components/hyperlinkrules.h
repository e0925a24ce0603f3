#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a hyperlink label links to, apart from how it is drawn.
namespace arcavio {

enum class HyperlinkType { ltEmail, ltFile, ltGopher, ltHttp, ltNews, ltWais, ltTelnet, ltCustom };

inline constexpr std::size_t kCustomPrefixLength = 20; // characters

// The prefix of a link type; ltCustom gives the custom prefix shared by every label.
std::string linkPrefix(HyperlinkType type);

const std::string& sharedCustomPrefix();
// Stores the first 20 characters of the text (never a split UTF-8 sequence) when the text
// differs from the shared value; true when it did.
bool setSharedCustomPrefix(std::string_view prefix);

// The prefix directly followed by the caption, whatever the label shows.
std::string linkTarget(HyperlinkType type, std::string_view caption);

// Results of opening a target, as the shell reports them: above 32 is success.
inline constexpr int kOpenTakenOver = 33; // an OnExecute handler opened the link itself
inline constexpr int kOpenDone = 42;
inline constexpr int kOpenNoHandler = 31; // no program is associated with the target
inline constexpr int kOpenFileNotFound = 2;

// The result of the desktop's opener (xdg-open) by its exit status: 0 opened; 2 a file it was
// given does not exist; anything else (no tool, the action failed, no exit at all) no handler.
inline int openResultOfExit(bool exitedNormally, int exitCode)
{
    if (!exitedNormally)
        return kOpenNoHandler;
    if (exitCode == 0)
        return kOpenDone;
    return exitCode == 2 ? kOpenFileNotFound : kOpenNoHandler;
}
inline bool openSucceeded(int result)
{
    return result > 32;
}

} // namespace arcavio
