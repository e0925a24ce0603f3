#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/linelist.h"

namespace arcavio {

// ASCII lower case, for names compared without regard to case.
std::string foldCase(std::string_view text);

// Reads a file of sections and keys by the program's rules: lines as written (no trimming),
// empty lines and lines beginning with ";" ignored, "[name]" opens a section, lines before the
// first section ignored; the key is the text before the first "=", the value all after it.
// Section and key names compare without regard to case; the first occurrence of a section is
// the one searched and the first line of a key wins. Lookups use an index built once.
class IniFile {
  public:
    IniFile() = default;
    explicit IniFile(const LineList& lines);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // The empty text for a missing section or key.
    std::string value(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;

  private:
    // Keyed, so that a file cannot choose names that all fall into one bucket.
    struct KeyedHash {
        std::size_t operator()(std::string_view text) const;
    };
    using Keys = std::unordered_map<std::string, std::string, KeyedHash>;
    std::unordered_map<std::string, Keys, KeyedHash> sections_;
};

} // namespace arcavio
