// A whole mame.ini built from what the emulator printed (its option list) and the file it read
// before, either of which may be anything a broken or hostile program or file holds. The input,
// cut at its first zero byte, is the printed list and then the carried file.
#include <cstddef>
#include <string>

#include "config/configuration.h"
#include "emulator/mameoptions.h"
#include "emulator/optionlist.h"
#include "fuzzing.h"

using namespace arcavio;

namespace {

bool isName(std::string_view name)
{
    if (name.empty())
        return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

bool holdsControlCharacter(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    static const std::vector<MameSetting> settings = mameSettings(defaultConfiguration());
    const auto parts = fuzz::fields(input, 2);
    const OptionList known = OptionList::parse(parts[0]);
    const OptionList carried = OptionList::parse(parts[1]);
    const std::string file = mameOptionFile(known, carried, settings);

    // Every line ends in CR LF and holds neither a zero byte nor a CR of its own.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        FUZZ_CHECK(file[i] != '\0');
        if (file[i] == '\r')
            FUZZ_CHECK(i + 1 < file.size() && file[i + 1] == '\n');
        if (file[i] == '\n') {
            FUZZ_CHECK(i > 0 && file[i - 1] == '\r');
            ++lines;
        }
    }
    FUZZ_CHECK(file.empty() || file.ends_with("\r\n"));

    // One line an option; a section begins with three comment lines, after a blank one but
    // for the first.
    const auto& options = known.options();
    std::size_t groups = 0;
    for (std::size_t i = 0; i < options.size(); ++i)
        if (i == 0 || options[i].section != options[i - 1].section)
            ++groups;
    FUZZ_CHECK(lines == options.size() + 3 * groups + (groups == 0 ? 0 : groups - 1));

    const OptionList written = OptionList::parse(file);
    FUZZ_CHECK(written.refusedLines() == 0);
    FUZZ_CHECK(written.options().size() == options.size());
    for (std::size_t i = 0; i < options.size(); ++i)
        FUZZ_CHECK(written.options()[i].name == options[i].name);
    for (const EmulatorOption& option : written.options()) {
        FUZZ_CHECK(isName(option.name));
        FUZZ_CHECK(!holdsControlCharacter(option.value));
    }
    for (const MameSetting& setting : settings) {
        if (known.find(setting.name) == nullptr)
            continue;
        const EmulatorOption* option = written.find(setting.name);
        FUZZ_CHECK(option != nullptr && option->value == setting.value);
    }
}
