#include "games/gamefinder.h"

#include <algorithm>

#include "text/nameorder.h"
#include "text/paths.h"

namespace arcavio {

GameFinder::GameFinder(const GameRows& rows)
{
    const std::size_t count = std::min(rows.names.size(), rows.zips.size());
    fieldStarts_.reserve(2 * count + 1);
    const auto add = [this](std::string_view text) {
        fieldStarts_.push_back(folded_.size());
        folded_ += findingFoldedName(text);
        folded_ += '\0';
    };
    for (std::size_t row = 0; row < count; ++row) {
        add(rows.names[row]);
        add(removeExtension(rows.zips[row]));
    }
    fieldStarts_.push_back(folded_.size());
}

bool GameFinder::rowContains(std::size_t row, std::string_view folded) const
{
    const std::string_view all(folded_);
    const std::size_t name = fieldStarts_[2 * row], zip = fieldStarts_[2 * row + 1],
                      end = fieldStarts_[2 * row + 2];
    return all.substr(name, zip - name - 1).find(folded) != std::string_view::npos ||
           all.substr(zip, end - zip - 1).find(folded) != std::string_view::npos;
}

std::vector<std::size_t> GameFinder::rowsContaining(std::string_view text) const
{
    std::string folded = findingFoldedName(text);
    // A zero byte ends every field; the typed text never holds one that could match it.
    folded.erase(std::remove(folded.begin(), folded.end(), '\0'), folded.end());
    std::vector<std::size_t> found;
    found.reserve(folded.empty() ? size() : 0);
    for (std::size_t row = 0; row < size(); ++row)
        if (folded.empty() || rowContains(row, folded))
            found.push_back(row);
    return found;
}

} // namespace arcavio
