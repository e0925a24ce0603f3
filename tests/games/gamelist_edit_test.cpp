#include <gtest/gtest.h>

#include <filesystem>

#include "gamelist_edit_check.h"
#include "games/gamelist.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using test::checkGameListEdit;
using test::GameListEdit;

std::string refusal(std::string_view file, std::string_view key, std::string_view name)
{
    try {
        withGameListEntry(file, key, name);
    } catch (const RefusedValueError& e) {
        return e.what();
    }
    return "(written)";
}

TEST(GameListKeyProblem, NamesWhatTheFormatCannotHold)
{
    for (const char* key :
         {"", "game1", " spaced ", "x]", "a[b", "a;b", "C:\\roms\\game1", "\xC3\xA9t\xC3\xA9"})
        EXPECT_EQ(gameListKeyProblem(key), std::nullopt) << key;
    EXPECT_EQ(gameListKeyProblem("a=b"), "it holds \"=\", where a name ends");
    EXPECT_EQ(gameListKeyProblem("="), "it holds \"=\", where a name ends");
    EXPECT_EQ(gameListKeyProblem(";game"), "a line beginning with \";\" is a comment");
    EXPECT_EQ(gameListKeyProblem("[abc"), "a line beginning with \"[\" can read as a section");
    EXPECT_EQ(gameListKeyProblem("[abc]"), "a line beginning with \"[\" can read as a section");
    EXPECT_EQ(gameListKeyProblem("a\nb"), "it holds a line break or a zero byte");
    EXPECT_EQ(gameListKeyProblem(std::string("a\0b", 3)), "it holds a line break or a zero byte");
    EXPECT_EQ(gameListKeyProblem("Caf\xE9"), "it is not valid UTF-8 text");
}

TEST(GameListEntry, RefusesWhatCouldNotBeReadBackAndWritesNothing)
{
    const std::string file = "[gamelist]\r\na=A\r\nb=B\r\n";
    // [abc=x] would read as a section and hide every later entry.
    EXPECT_EQ(refusal(file, "[abc", "x]"), "The zip name \"[abc\" cannot be added to gamelist.ini: a line "
                                           "beginning with \"[\" can read as a section");
    EXPECT_EQ(
        refusal(file, ";game", "Name"),
        "The zip name \";game\" cannot be added to gamelist.ini: a line beginning with \";\" is a comment");
    EXPECT_EQ(refusal(file, "a=b", "Name"),
              "The zip name \"a=b\" cannot be added to gamelist.ini: it holds \"=\", where a name ends");
    EXPECT_EQ(
        refusal(file, "ok", "Caf\xE9"),
        "The game name \"Caf\xEF\xBF\xBD\" cannot be added to gamelist.ini: it is not valid UTF-8 text");
    // Line breaks become blanks before the key is judged, as they always did.
    EXPECT_EQ(refusal(file, "\n[abc", "x]"), "(written)");
    // A key the format can hold reads back, however odd.
    for (const GameListEdit& edit : {GameListEdit{"", "Nameless", file}, GameListEdit{"x]", "[y", file},
                                     GameListEdit{" a", "=b=", file}, GameListEdit{"a[b;c", "]", file}}) {
        EXPECT_EQ(checkGameListEdit(edit), std::nullopt) << edit.key;
    }

    test::TempDir dir;
    const std::string path = dir.write("gamelist.ini", file);
    EXPECT_THROW(setGameListEntry(path, "[abc", "x]"), RefusedValueError);
    EXPECT_EQ(test::readBytes(path), file);
    EXPECT_THROW(setGameListEntry(dir.file("new.ini"), ";x", "y"), RefusedValueError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.ini")));
}

TEST(GameListEntry, AWindows1252FileThatWouldReadAsUtf8BecomesUtf8)
{
    // The only byte that made the file Windows-1252 sits on the replaced line; "Ã©" written in
    // Windows-1252 is C3 A9, which is "é" in UTF-8.
    const std::string file = "[gamelist]\r\ngame1=Caf\xE9\r\ngame2=Two\r\n";
    const std::string after = withGameListEntry(file, "game1", "\xC3\x83\xC2\xA9");
    EXPECT_EQ(after, "[gamelist]\r\ngame1=\xC3\x83\xC2\xA9\r\ngame2=Two\r\n");
    EXPECT_EQ(GameListIndex::fromBytes(after).find("game1"), "\xC3\x83\xC2\xA9");
    // Other lines whose bytes happen to be UTF-8 keep what they read as before.
    const std::string mixed = "[gamelist]\r\na=\xC3\xA9\r\nb=\xE9\r\n";
    EXPECT_EQ(withGameListEntry(mixed, "b", "e"), "[gamelist]\r\na=\xC3\x83\xC2\xA9\r\nb=e\r\n");
    EXPECT_EQ(checkGameListEdit({"b", "e", mixed}), std::nullopt);
    // While another byte keeps the file Windows-1252, it stays so.
    EXPECT_EQ(withGameListEntry(file + "game3=\xE8\r\n", "game1", "\xC3\x83\xC2\xA9"),
              "[gamelist]\r\ngame1=\xC3\xA9\r\ngame2=Two\r\ngame3=\xE8\r\n");
}

// Random files, keys and names; the seed is fixed, so a failure repeats.
TEST(GameListEntry, RandomEditsReadBackAndKeepEveryOtherEntry)
{
    std::mt19937 random(20240611);
    int written = 0;
    for (int i = 0; i < 20000; ++i) {
        const GameListEdit edit = test::randomGameListEdit(random);
        bool refused = false;
        const std::optional<std::string> failure = checkGameListEdit(edit, &refused);
        ASSERT_EQ(failure, std::nullopt) << "case " << i;
        if (refused) {
            const std::string key = test::blanked(edit.key);
            EXPECT_TRUE(gameListKeyProblem(key) || !isValidUtf8(test::blanked(edit.name))) << "case " << i;
        }
        written += refused ? 0 : 1;
    }
    // Most pairs are written: the rule is tested on edits, not on refusals.
    EXPECT_GT(written, 15000);
}

// Each file holds a key, a zero byte, a name, a zero byte and the file's bytes (see the README).
TEST(GameListEntry, InputsThatOnceFailedReadBack)
{
    int cases = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ARCAVIO_SOURCE_DIR "/fuzz/regressions/gamelist_edit")) {
        const std::string bytes = test::readBytes(entry.path().string());
        const std::size_t first = bytes.find('\0');
        const std::size_t second = first == std::string::npos ? first : bytes.find('\0', first + 1);
        GameListEdit edit;
        edit.key = bytes.substr(0, first);
        if (first != std::string::npos)
            edit.name = bytes.substr(first + 1, second == std::string::npos ? second : second - first - 1);
        if (second != std::string::npos)
            edit.file = bytes.substr(second + 1);
        EXPECT_EQ(checkGameListEdit(edit), std::nullopt) << entry.path();
        ++cases;
    }
    EXPECT_GE(cases, 9);
}

} // namespace
} // namespace arcavio
