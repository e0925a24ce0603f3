#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The emulator's own option text: what it prints with -showconfig and what it reads from a
// mame.ini, comment blocks naming sections ("#", "# CORE", "#") and lines "name value". One
// reader for both, since the emulator writes its ini files in the form it prints.
namespace arcavio {

struct EmulatorOption {
    std::string name;
    std::string value;   // without the quotes the emulator puts around a value with blanks
    std::size_t section; // into OptionList::sections()
};

class OptionList {
  public:
    // What one text may hold; anything beyond is left out, so a flood cannot fill memory.
    static constexpr std::size_t kMostOptions = 4096;
    static constexpr std::size_t kLongestName = 64;
    static constexpr std::size_t kLongestValue = 4096;

    // Reads the text line by line. A line whose name is not lower-case letters, digits and "_",
    // or whose value holds a zero byte or control character, or is too long, is left out and
    // counted: nothing read can add a line to a file or a word to a command line. A name given
    // again takes the later value, as the emulator reads its ini files.
    static OptionList parse(std::string_view text);

    const std::vector<EmulatorOption>& options() const { return options_; }
    const std::vector<std::string>& sections() const { return sections_; }
    const EmulatorOption* find(std::string_view name) const;
    std::size_t refusedLines() const { return refused_; }

  private:
    struct KeyedHash {
        std::size_t operator()(std::string_view text) const;
    };
    std::vector<EmulatorOption> options_;
    std::vector<std::string> sections_;
    std::unordered_map<std::string, std::size_t, KeyedHash> index_;
    std::size_t refused_ = 0;
};

// The value as a mame.ini line holds it: in double quotes when it holds a blank, a tab or "#",
// or begins with a quote, as the emulator writes such values itself.
std::string iniValue(std::string_view value);

} // namespace arcavio
