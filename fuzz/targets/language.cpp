// The language file: its lines become the texts of every window.
#include <string>

#include "app/helpmessages.h"
#include "base/language.h"
#include "editor/editorrules.h"
#include "fuzzing.h"
#include "text/errors.h"
#include "text/linelist.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    const LineList lines = LineList::fromBytes(input);
    const Language language(lines);
    FUZZ_CHECK(language.loaded() == (lines.count() > 0));
    for (int n = 0; n < kLanguageLineCount; ++n) {
        try {
            const std::string text = language.text(n);
            FUZZ_CHECK(text == (language.loaded() ? lines.at(n) : std::string(builtinText(n))));
        } catch (const ListIndexError& e) {
            FUZZ_CHECK(language.loaded() && n >= lines.count() && e.index() == n);
        }
    }
    int applied = 0;
    try {
        applyEditorLanguage(language, [&](int line, const std::string& text) {
            FUZZ_CHECK(text == lines.at(line));
            ++applied;
        });
        FUZZ_CHECK(!language.loaded() || applied == static_cast<int>(editorLanguageLines().size()));
    } catch (const ListIndexError& e) {
        FUZZ_CHECK(e.index() >= lines.count());
    }
    try {
        const std::string message = missingDirectoryMessage(language, "C:\\mame\\ROMS");
        FUZZ_CHECK(message.find("C:\\mame\\ROMS") != std::string::npos);
        aboutLanguageText(language);
    } catch (const ListIndexError& e) {
        FUZZ_CHECK(e.index() >= lines.count());
    }
}
