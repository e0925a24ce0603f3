#include "games/nameimportsummary.h"

namespace arcavio {
namespace {

// "1 set was", "2 sets were": the count, the noun and the verb in agreement.
std::string counted(std::size_t count, std::string_view one, std::string_view many)
{
    return groupedCount(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

std::string groupedCount(std::size_t count)
{
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string nameImportSummaryText(const NameImportSummary& summary, std::string_view gameListName)
{
    const std::string file(gameListName);
    const NameMergeCounts& counts = summary.counts;
    std::string text = "The emulator listed " + counted(summary.setsRead, "set.", "sets.");
    text += '\n';
    text += counts.added == 0
                ? "No game name was added to " + file + "."
                : counted(counts.added, "game name was", "game names were") + " added to " + file + ".";
    text += '\n';
    text += counts.kept == 0 ? std::string("No set was named already.")
                             : counted(counts.kept, "set was already named; its name was kept.",
                                       "sets were already named; their names were kept.");
    if (counts.refused > 0)
        text += "\n" + counted(counts.refused, "set was left out: ", "sets were left out: ") + file +
                (counts.refused == 1 ? " cannot hold its name." : " cannot hold their names.");
    if (summary.notSetNames > 0)
        text += "\n" +
                counted(summary.notSetNames, "line was skipped: what it names cannot be a set's name.",
                        "lines were skipped: what they name cannot be a set's name.");
    if (counts.repeated > 0)
        text += "\n" + counted(counts.repeated, "set was listed again; ", "sets were listed again; ") +
                "the first listing counts.";
    return text;
}

} // namespace arcavio
