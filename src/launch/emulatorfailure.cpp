#include "launch/emulatorfailure.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <vector>

#include "text/boundedtext.h"
#include "text/encoding.h"

namespace arcavio {
namespace {

constexpr std::size_t kShownLines = 8;
constexpr std::size_t kShownLineLength = 200;
constexpr std::size_t kNamedMissingFiles = 6;
constexpr std::size_t kMissingNameLength = 40;
constexpr std::string_view kNotFound = " NOT FOUND";

constexpr std::string_view kSummary = "MAME could not run %1 (exit code %2: %3).";
constexpr std::string_view kMissingFiles = "Missing files: %1 (%2 in all)";
constexpr std::string_view kLastLines = "The last lines MAME wrote:";
constexpr std::string_view kUnknownCode = "a code MAME does not document";
constexpr std::array<std::string_view, 10> kMeanings = {
    "failed validity checks",
    "required files are missing",
    "fatal error",
    "device initialisation error",
    "the requested system does not exist",
    "invalid configuration",
    "identified all non-ROM files",
    "identified some files but not all",
    "identified no files",
    "unknown file",
};

std::string lineOf(const Language& language, int number, std::string_view english)
{
    return language.holds(number) ? language.line(number) : std::string(english);
}

// %1 to %9 stand for the arguments; what they bring in is never read for more.
std::string filled(std::string_view pattern, const std::vector<std::string>& arguments)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                out += arguments[index];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

bool blank(std::string_view line)
{
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string shown(std::string_view bytes, std::size_t limit)
{
    return visibleValue(decodeText(bytes), limit);
}

} // namespace

std::optional<std::string> emulatorFailureMessage(const Language& language, std::string_view game,
                                                  int exitCode, std::string_view errorOutput)
{
    if (exitCode == 0)
        return std::nullopt;

    std::vector<std::string_view> lines;
    std::vector<std::string> missing;
    std::set<std::string, std::less<>> missingSeen;
    while (!errorOutput.empty()) {
        const std::size_t end = errorOutput.find('\n');
        std::string_view line = errorOutput.substr(0, end);
        errorOutput.remove_prefix(end == std::string_view::npos ? errorOutput.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (blank(line))
            continue;
        if (const std::size_t notFound = line.find(kNotFound); notFound != std::string_view::npos) {
            std::string_view name = line.substr(0, notFound);
            name.remove_prefix(std::min(name.find_first_not_of(" \t"), name.size()));
            if (missingSeen.insert(std::string(name)).second)
                missing.emplace_back(name);
            continue;
        }
        // The same complaint many times over says no more than once.
        if (lines.empty() || lines.back() != line)
            lines.push_back(line);
    }
    if (lines.empty() && missing.empty())
        return std::nullopt;

    const auto code = static_cast<std::size_t>(exitCode);
    const std::string meaning =
        exitCode >= 1 && code <= kMeanings.size()
            ? lineOf(language, kFailureFirstMeaningLine + exitCode - 1, kMeanings[code - 1])
            : lineOf(language, kFailureUnknownCodeLine, kUnknownCode);
    std::string message = filled(lineOf(language, kFailureSummaryLine, kSummary),
                                 {visibleValue(game), std::to_string(exitCode), meaning});

    if (!missing.empty()) {
        std::string names;
        for (std::size_t i = 0; i < missing.size() && i < kNamedMissingFiles; ++i)
            names += (i > 0 ? ", " : "") + shown(missing[i], kMissingNameLength);
        if (missing.size() > kNamedMissingFiles)
            names += ", " + std::string(kEllipsis);
        message += '\n' + filled(lineOf(language, kFailureMissingFilesLine, kMissingFiles),
                                 {names, std::to_string(missing.size())});
    }
    if (!lines.empty()) {
        message += '\n' + lineOf(language, kFailureLastLinesLine, kLastLines);
        for (std::size_t i = lines.size() > kShownLines ? lines.size() - kShownLines : 0; i < lines.size();
             ++i)
            message += '\n' + shown(lines[i], kShownLineLength);
    }
    return message;
}

} // namespace arcavio
