#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace arcavio {

// File names in order without regard to case, for every letter. A name's bytes are decoded as
// text is (UTF-8 when valid, Windows-1252 otherwise), folded by Unicode's full case folding
// and compared in code point order: the order is the same whatever the system's locale, and
// accented letters follow Z. Names that fold alike keep a fixed order by their exact text.

// The folded name in UTF-8; comparing two byte by byte compares their code points.
std::string caseFoldedName(std::string_view name);

// The case-folded name without its accents (and compatibility forms such as ligatures and
// full-width letters spelled out), for finding names by part of their text: "Pac" is found in
// "P\u00E1c-Man". ASCII names fold as caseFoldedName does.
std::string findingFoldedName(std::string_view name);

bool lessIgnoringCase(std::string_view a, std::string_view b);
// Folds each name once, so long listings sort quickly.
void sortIgnoringCase(std::vector<std::string>& names);

} // namespace arcavio
