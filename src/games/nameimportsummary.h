#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "games/nameimport.h"

namespace arcavio {

// A count as the summary writes it: digits grouped by commas (45,000).
std::string groupedCount(std::size_t count);

// What an import did, in plain English, one sentence a line: how many sets the emulator listed,
// how many names were added to the file, how many sets were named already and kept theirs, and,
// only when there were any, the sets the file cannot hold, the lines whose name cannot be a set's
// and the sets listed more than once.
std::string nameImportSummaryText(const NameImportSummary& summary, std::string_view gameListName);

} // namespace arcavio
