// The emulator's option file, built from configuration values as Run holds them: a value may
// come from a folder or file name rather than from a configuration file, so it may hold any
// character, line breaks included. The fields of the input, cut at zero bytes and decoded as
// files are, are the configuration's lines; the last byte says how many there are.
#include <string>

#include "config/configuration.h"
#include "fuzzing.h"
#include "launch/optionfile.h"
#include "text/encoding.h"
#include "text/errors.h"
#include "text/linelist.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    LineList configuration;
    for (std::string_view value : fuzz::fields(input, kConfigurationLineCount + 1))
        configuration.append(decodeText(value));
    // Short configurations come from short files; the last field is what is left over.
    std::size_t count = input.empty() ? 0 : static_cast<unsigned char>(input.back()) % 80;
    LineList lines;
    for (int i = 0; i < static_cast<int>(count) && i < configuration.count(); ++i)
        lines.append(configuration.at(i));

    LineList optionFile;
    try {
        buildOptionFile(lines, optionFile);
    } catch (const ListIndexError& e) {
        FUZZ_CHECK(e.index() >= lines.count());
        return;
    } catch (const Error&) {
        return; // a value the option file cannot hold, refused
    }
    // Every option is one line of mame.ini, whatever its value.
    FUZZ_CHECK(optionFile.count() == kOptionFileLineCount);
    FUZZ_CHECK(LineList::fromText(optionFile.toText()) == optionFile);
}
