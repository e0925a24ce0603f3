#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "games/gamelist.h"

namespace arcavio {

// Finds the select-game dialog's rows by part of their text. Each row's name and zip name (the
// set's name, without ".zip", which every row would contain) are folded once, when the rows are
// built, without regard to case and accents (findingFoldedName), so a search only scans.
class GameFinder {
  public:
    GameFinder() = default;
    explicit GameFinder(const GameRows& rows);

    std::size_t size() const { return fieldStarts_.empty() ? 0 : (fieldStarts_.size() - 1) / 2; }

    // The rows, in their order, whose name or zip name contains the text, folded alike: every
    // row for an empty text.
    std::vector<std::size_t> rowsContaining(std::string_view text) const;

  private:
    bool rowContains(std::size_t row, std::string_view folded) const;

    // The folded fields one after another, name then zip for each row, each ended by a zero
    // byte so no match runs from one field into the next.
    std::string folded_;
    std::vector<std::size_t> fieldStarts_;
};

} // namespace arcavio
