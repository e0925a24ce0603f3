// Line lists: every text file of the program is read as one.
#include "text/linelist.h"
#include "fuzzing.h"
#include "text/encoding.h"
#include "text/errors.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    const LineList lines = LineList::fromBytes(input);
    for (const std::string& line : lines.lines()) {
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        FUZZ_CHECK(isValidUtf8(line));
    }
    // What the program writes reads back as the same lines.
    FUZZ_CHECK(LineList::fromBytes(lines.toText()) == lines);
    try {
        lines.at(lines.count());
        FUZZ_CHECK(false);
    } catch (const ListIndexError& e) {
        FUZZ_CHECK(e.index() == lines.count());
    }
}
