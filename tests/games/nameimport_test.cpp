#include "games/nameimport.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "gamelist_edit_check.h"
#include "games/gamelist.h"
#include "nameimport_check.h"
#include "platform/filelock.h"
#include "platform/filesystem.h"
#include "support/fake_emulator.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using namespace std::chrono_literals;
using namespace std::string_view_literals;

SetListReader readWhole(std::string_view list)
{
    SetListReader reader;
    reader.feed(list);
    reader.finish();
    return reader;
}

std::vector<std::pair<std::string, std::string>> setsOf(const SetListReader& reader)
{
    std::vector<std::pair<std::string, std::string>> sets;
    reader.names().forEach([&](std::string_view name, std::string_view description) {
        sets.emplace_back(name, description);
    });
    return sets;
}

std::string merged(std::string_view file, std::string_view list)
{
    return mergeGameListNames(file, readWhole(list).names()).bytes;
}

TEST(SetLine, ReadsTheEmulatorsFormat)
{
    const auto parsed = [](std::string_view line) -> std::pair<std::string, std::string> {
        const std::optional<ListedSet> set = parseSetLine(line);
        if (!set)
            return {"(none)", ""};
        return {std::string(set->name), std::string(set->description)};
    };
    using Set = std::pair<std::string, std::string>;
    EXPECT_EQ(parsed("galaxian          \"Galaxian (Namco set 1)\""),
              Set("galaxian", "Galaxian (Namco set 1)"));
    // The description runs from the first quote to the last.
    EXPECT_EQ(parsed("cc10              \"Chess Challenger \"10\" (model CCX, rev. B)\""),
              Set("cc10", "Chess Challenger \"10\" (model CCX, rev. B)"));
    EXPECT_EQ(parsed("dn3000_19i        \"Apollo DN3000 19\" Monochrome\""),
              Set("dn3000_19i", "Apollo DN3000 19\" Monochrome"));
    EXPECT_EQ(parsed("pong              \"Pong (Rev E) [TTL]\""), Set("pong", "Pong (Rev E) [TTL]"));
    EXPECT_EQ(parsed("bup               \"Mephisto Blitz- und Probleml\xC3\xB6sungs-Modul (set 1)\""),
              Set("bup", "Mephisto Blitz- und Probleml\xC3\xB6sungs-Modul (set 1)"));
    // A name longer than the column is followed by one blank.
    EXPECT_EQ(parsed("segas32_pcb_trackball \"Sega System 32 trackball PCB\""),
              Set("segas32_pcb_trackball", "Sega System 32 trackball PCB"));
    EXPECT_EQ(parsed("a\t\"Tabbed\"  \t"), Set("a", "Tabbed"));

    for (const char* line :
         {"Name:             Description:", "", "   ", "pong", "pong              \"Pong (Rev",
          "pong              \"Pong\" (Rev E)", "two words \"Name\"", "\"No name\"", "blank             \"\"",
          "blank             \"   \"", "Warning: file \"x.ini\" not found"})
        EXPECT_EQ(parsed(line).first, "(none)") << line;
}

TEST(SetList, PiecesOfAnySizeReadAsTheWhole)
{
    // A zero byte inside the text: the literal keeps it.
    const std::string_view list = "Name:             Description:\r\n"
                                  "pong              \"Pong (Rev E) [TTL]\"\r\n"
                                  "\r\n"
                                  "cc10              \"Chess Challenger \"10\"\"\r"
                                  "attache816        \"Attach\xC3\xA9 8:16\"\n"
                                  "odd line\n"
                                  "zero              \"A\0B\"\n"
                                  "cp1252            \"Caf\xE9\"\n"
                                  "last              \"Last (no line end)\""sv;
    const std::string withZero(list);
    const SetListReader whole = readWhole(withZero);
    using Set = std::pair<std::string, std::string>;
    const std::vector<Set> expected = {{"pong", "Pong (Rev E) [TTL]"},
                                       {"cc10", "Chess Challenger \"10\""},
                                       {"attache816", "Attach\xC3\xA9 8:16"},
                                       {"zero", "A B"},
                                       {"cp1252", "Caf\xC3\xA9"},
                                       {"last", "Last (no line end)"}};
    EXPECT_EQ(setsOf(whole), expected);
    EXPECT_EQ(whole.skippedLines(), 3u); // the header, the blank line, the odd one
    EXPECT_EQ(whole.oddLines(), 1u);

    for (std::size_t piece = 1; piece <= 7; ++piece) {
        SetListReader reader;
        for (std::size_t at = 0; at < withZero.size(); at += piece)
            reader.feed(std::string_view(withZero).substr(at, piece));
        reader.finish();
        EXPECT_EQ(setsOf(reader), expected) << piece;
        EXPECT_EQ(reader.skippedLines(), 3u) << piece;
    }
}

TEST(SetList, ATruncatedLastLineNamesNothing)
{
    const SetListReader cut = readWhole("pong              \"Pong (Rev E) [TTL]\"\n"
                                        "cc10              \"Chess Challenger \"10\" (mod");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut.names().lines(), "pong=Pong (Rev E) [TTL]\n");
    EXPECT_EQ(cut.oddLines(), 1u);

    // Before finish() the last line may still be arriving.
    SetListReader arriving;
    arriving.feed("pong              \"Pong\"");
    EXPECT_EQ(arriving.size(), 0u);
    arriving.feed("\n");
    EXPECT_EQ(arriving.size(), 1u);
}

TEST(NameMerge, AddsOnlyWhatTheUserHasNotNamedAndKeepsEveryOtherByte)
{
    const std::string file = "; my names\r\n"
                             "[gamelist]\r\n"
                             "PONG=My Pong\r\n"
                             "; a comment in the section\r\n"
                             "galaxian=\r\n"
                             "\r\n"
                             "[other]\r\n"
                             "pacman=Not read\r\n";
    const std::string list = std::string(test::kFakeSetList);
    const GameListMerge merge = mergeGameListNames(file, readWhole(list).names());
    EXPECT_EQ(merge.bytes, "; my names\r\n"
                           "[gamelist]\r\n"
                           "PONG=My Pong\r\n"
                           "; a comment in the section\r\n"
                           "galaxian=\r\n"
                           "cc10=Chess Challenger \"10\" (model CCX, rev. B)\r\n"
                           "attache816=Attach\xC3\xA9 8:16\r\n"
                           "segas32_pcb_trackball=Sega System 32 trackball PCB\r\n"
                           "pacman=Pac-Man (Midway)\r\n"
                           "\r\n"
                           "[other]\r\n"
                           "pacman=Not read\r\n");
    EXPECT_EQ(merge.counts.added, 4u);
    EXPECT_EQ(merge.counts.kept, 2u); // pong under another case, galaxian with an empty name
    EXPECT_EQ(merge.counts.refused, 0u);

    const GameListIndex after = GameListIndex::fromBytes(merge.bytes);
    EXPECT_EQ(after.find("pong"), "My Pong");
    EXPECT_EQ(after.find("pacman"), "Pac-Man (Midway)");

    // Nothing new: the same bytes, which the import does not write.
    const GameListMerge again = mergeGameListNames(merge.bytes, readWhole(list).names());
    EXPECT_EQ(again.counts.added, 0u);
    EXPECT_EQ(again.counts.kept, 6u);
    EXPECT_EQ(again.bytes, merge.bytes);
}

TEST(NameMerge, FollowsTheFilesOwnFormAsAddAGameDoes)
{
    const std::string list = "pong              \"Pong\"\n"
                             "galaxian          \"Galaxian\"\n";
    // No file, or no section: the section comes at the end, after a blank line.
    EXPECT_EQ(merged("", list), "[gamelist]\r\npong=Pong\r\ngalaxian=Galaxian\r\n");
    EXPECT_EQ(merged("[other]\nx=y", list), "[other]\nx=y\n\n[gamelist]\npong=Pong\ngalaxian=Galaxian\n");
    // A section without entries, its last line without an end, LF line ends, a byte-order mark.
    EXPECT_EQ(merged("\xEF\xBB\xBF[GameList]", list),
              "\xEF\xBB\xBF[GameList]\r\npong=Pong\r\ngalaxian=Galaxian\r\n");
    EXPECT_EQ(merged("[gamelist]\na=A", list), "[gamelist]\na=A\npong=Pong\ngalaxian=Galaxian\n");
    // Only the first section of the name is read, and written to.
    EXPECT_EQ(merged("[gamelist]\r\na=A\r\n[gamelist]\r\npong=Hidden\r\n", list),
              "[gamelist]\r\na=A\r\npong=Pong\r\ngalaxian=Galaxian\r\n[gamelist]\r\npong=Hidden\r\n");
    // What follows a zero byte is never read, and stays behind the text.
    EXPECT_EQ(merged("[gamelist]\r\na=A\r\n\0[gamelist]\r\nb=B"sv, list),
              "[gamelist]\r\na=A\r\npong=Pong\r\ngalaxian=Galaxian\r\n\0[gamelist]\r\nb=B"sv);
}

TEST(NameMerge, AWindows1252FileStaysOneUnlessANameDoesNotFit)
{
    const std::string file = "[gamelist]\r\nbup=Probleml\xF6sung\r\n";
    // "é" fits the code page: written as one byte, and the user's "ö" keeps its byte.
    const std::string fits = merged(file, "attache816        \"Attach\xC3\xA9 8:16\"\n");
    EXPECT_EQ(fits, "[gamelist]\r\nbup=Probleml\xF6sung\r\nattache816=Attach\xE9 8:16\r\n");
    EXPECT_EQ(GameListIndex::fromBytes(fits).find("attache816"), "Attach\xC3\xA9 8:16");
    // Japanese does not: the whole file becomes UTF-8 and every name reads as before.
    const std::string converted = merged(file, "cometj            \"Comet (\xE3\x82\xB3\xE3\x83\xA1)\"\n");
    EXPECT_EQ(converted,
              "[gamelist]\r\nbup=Probleml\xC3\xB6sung\r\ncometj=Comet (\xE3\x82\xB3\xE3\x83\xA1)\r\n");
    EXPECT_EQ(GameListIndex::fromBytes(converted).find("bup"), "Probleml\xC3\xB6sung");
}

TEST(NameMerge, SkipsAndCountsWhatCannotBeASetsNameAndRepeats)
{
    const std::string list = ";comment          \"Would be a comment\"\n"
                             "[section          \"Would open a section\"\n"
                             "a=b               \"Would end at =\"\n"
                             "caf\xE9              \"Not UTF-8\"\n"
                             "\x01\x7F\x1B[2J        \"Control characters\"\n" +
                             std::string(kSetNameLimit + 1, 'x') + " \"Too long\"\n" +
                             std::string(kSetNameLimit, 'y') + " \"Long\"\n"
                             "pong              \"Pong\"\n"
                             "PONG              \"Pong again\"\n";
    const SetListReader reader = readWhole(list);
    EXPECT_EQ(reader.notSetNames(), 6u);
    EXPECT_EQ(reader.oddLines(), 6u);
    EXPECT_EQ(reader.size(), 3u);
    const GameListMerge merge = mergeGameListNames("", reader.names());
    EXPECT_EQ(merge.bytes, "[gamelist]\r\n" + std::string(kSetNameLimit, 'y') + "=Long\r\npong=Pong\r\n");
    EXPECT_EQ(merge.counts.refused, 0u);
    EXPECT_EQ(merge.counts.repeated, 1u);
    EXPECT_EQ(merge.counts.added, 2u);

    // Random bytes that end well add nothing.
    std::mt19937 random(7);
    std::string noise(1 << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    EXPECT_EQ(readWhole(noise).names().size(), 0u);
}

TEST(NameMerge, KeepsItsRulesOnAnyFileAndList)
{
    std::mt19937 random(20240614);
    std::size_t added = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string file = test::randomGameListEdit(random).file;
        const std::string list = test::randomSetList(random);
        const std::size_t piece = 1 + random() % 9;
        const std::optional<std::string> problem = test::checkNameImport(list, file, piece);
        ASSERT_EQ(problem, std::nullopt) << "list:\n" << list << "\nfile:\n" << file;
        added += mergeGameListNames(file, readWhole(list).names()).counts.added;
    }
    EXPECT_GT(added, 4000u); // the rules are tried on additions, not only on refusals
}

// The import end to end, through the stand-in emulator.
class NameImport : public ::testing::Test {
  protected:
    std::string gameListBytes = "; mine\r\n[gamelist]\r\npong=My own Pong\r\n";
    test::TempDir dir;
    std::string gameList = dir.write("gamelist.ini", gameListBytes);
    std::string log = dir.file("record");

    // The message of the import's error, the file checked untouched.
    std::string failure(const std::string& emulator)
    {
        std::string message = "(no error)";
        try {
            importGameNames(emulator, gameList);
        } catch (const NameImportError& e) {
            message = e.what();
        }
        EXPECT_EQ(test::readBytes(gameList), gameListBytes);
        return message;
    }
};

TEST_F(NameImport, RunsTheEmulatorInItsDirectoryAndMergesItsList)
{
    test::FakeEmulatorSettings settings(log);
    std::vector<std::size_t> progress;
    const NameImportSummary summary = importGameNames(test::fakeEmulatorPath(), gameList,
                                                      [&](std::size_t sets) { progress.push_back(sets); });
    EXPECT_FALSE(summary.cancelled);
    EXPECT_TRUE(summary.written);
    EXPECT_EQ(summary.setsRead, 6u);
    EXPECT_EQ(summary.counts.added, 5u);
    EXPECT_EQ(summary.counts.kept, 1u);
    EXPECT_EQ(summary.skippedLines, 1u);
    EXPECT_EQ(summary.oddLines, 0u);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 6u);
    EXPECT_EQ(test::readBytes(gameList), "; mine\r\n[gamelist]\r\npong=My own Pong\r\n"
                                         "galaxian=Galaxian (Namco set 1)\r\n"
                                         "cc10=Chess Challenger \"10\" (model CCX, rev. B)\r\n"
                                         "attache816=Attach\xC3\xA9 8:16\r\n"
                                         "segas32_pcb_trackball=Sega System 32 trackball PCB\r\n"
                                         "pacman=Pac-Man (Midway)\r\n");

    const std::optional<test::FakeEmulatorRecord> record = test::readFakeEmulatorRecord(log);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv, (std::vector<std::string>{test::fakeEmulatorPath(), "-listfull"}));
    EXPECT_EQ(std::filesystem::path(record->workingDirectory),
              std::filesystem::canonical(std::filesystem::path(test::fakeEmulatorPath()).parent_path()));

    // A second import finds every set named and leaves the file alone.
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(gameList);
    const NameImportSummary again = importGameNames(test::fakeEmulatorPath(), gameList);
    EXPECT_FALSE(again.written);
    EXPECT_EQ(again.counts.kept, 6u);
    EXPECT_EQ(std::filesystem::last_write_time(gameList), written);
}

TEST_F(NameImport, ARelativeEmulatorPathIsTakenFromTheCurrentDirectoryAndAMissingFileIsCreated)
{
    const std::filesystem::path fake = test::fakeEmulatorPath();
    test::CurrentDirectory here(fake.parent_path().parent_path().string());
    const std::string fresh = dir.file("new.ini");
    const NameImportSummary summary = importGameNames("support/fake_emulator", fresh);
    EXPECT_EQ(summary.counts.added, 6u);
    EXPECT_EQ(GameListIndex::load(fresh).find("pong"), "Pong (Rev E) [TTL]");
}

TEST_F(NameImport, AnEmulatorThatCannotRunLeavesTheFileAndSaysWhy)
{
    const std::string missing = dir.file("no-mame");
    EXPECT_EQ(failure(missing), "The emulator \"" + missing + "\" does not exist");
    EXPECT_EQ(failure(dir.path()), "The emulator \"" + dir.path() + "\" is a folder, not a program");
    const std::string text = dir.write("mame", "not a program\n");
    std::filesystem::permissions(text,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(failure(text), "The emulator \"" + text + "\" could not be started: Permission denied");
    // A path holding a line break is named so that it can be seen.
    const std::string odd = dir.file("a\nb");
    EXPECT_EQ(failure(odd), "The emulator \"" + dir.path() + "/a\xE2\x90\x8A" + "b\" does not exist");
}

TEST_F(NameImport, AnEmulatorThatFailsLeavesTheFileAndSaysWhatItSaid)
{
    const std::string emulator = test::fakeEmulatorPath();
    const std::string named = "The emulator \"" + emulator + "\" ";
    {
        // Its whole list printed, then a failure: nothing of it is written.
        test::FakeEmulatorSettings settings(log, 5);
        test::FakeListSettings list("", "\nNo matching systems found for 'x'\n");
        EXPECT_EQ(failure(emulator), named + "ended with exit code 5; gamelist.ini was not changed.\n"
                                             "It said:\nNo matching systems found for 'x'");
    }
    {
        test::FakeListSettings silent(dir.write("empty", ""));
        EXPECT_EQ(failure(emulator), named + "printed nothing; gamelist.ini was not changed.");
    }
    {
        std::string noise;
        for (int i = 1; i <= 8; ++i)
            noise += "warning " + std::to_string(i) + "\n";
        noise += std::string(20000, 'x');
        test::FakeListSettings usage(dir.write("usage", "Usage: mame [options]\n"), noise);
        // Only the first lines of the error output are quoted.
        EXPECT_EQ(failure(emulator), named +
                                         "printed no list of games; gamelist.ini was not changed.\n"
                                         "It said:\nwarning 1\nwarning 2\nwarning 3\nwarning 4\nwarning 5");
    }
    {
        test::FakeListSettings huge(dir.writeSized("huge", "pong \"Pong\"\n", (64u << 20) + 1));
        EXPECT_EQ(failure(emulator), named + "printed more than 64 MiB; gamelist.ini was not changed.");
    }
    const std::string crashing = dir.write("crashing", "#!/bin/sh\necho 'pong \"Pong\"'\nkill -SEGV $$\n");
    std::filesystem::permissions(crashing, std::filesystem::perms::owner_all);
    EXPECT_EQ(failure(crashing), "The emulator \"" + crashing + "\" was ended by signal " +
                                     std::to_string(SIGSEGV) + "; gamelist.ini was not changed.");

    // Two sets, then nothing more for ever: a script that runs the import has no Cancel.
    const std::string stalling = dir.write("stalling", "#!/bin/sh\necho 'pong \"Pong\"'\nexec sleep 60\n");
    std::filesystem::permissions(stalling, std::filesystem::perms::owner_all);
    std::string message;
    try {
        importGameNames(stalling, gameList, {}, nullptr, std::chrono::seconds(1));
    } catch (const NameImportError& e) {
        message = e.what();
    }
    EXPECT_EQ(
        message,
        "The emulator \"" + stalling +
            "\" did not finish its list within 1 seconds and was stopped; gamelist.ini was not changed.");
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);
}

TEST_F(NameImport, AFileThatWouldGrowPastWhatTheProgramReadsIsNotWritten)
{
    // Just below the size the program reads; what follows the zero byte is kept, so it grows.
    const std::string big = dir.writeSized("big.ini", "[gamelist]\r\n", (64u << 20) - 16);
    const std::string before = test::readBytes(big);
    try {
        importGameNames(test::fakeEmulatorPath(), big);
        ADD_FAILURE() << "the import wrote a file the program could not read back";
    } catch (const NameImportError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "big.ini would grow past 64 MiB, more than the program reads; it was not changed");
    }
    EXPECT_TRUE(test::readBytes(big) == before);
}

TEST_F(NameImport, CancelStopsTheEmulatorAndWritesNothing)
{
    // A shell script that starts the emulator as its child: cancelling reaches both.
    const std::string wrapper =
        dir.write("wrapper", "#!/bin/sh\n\"" + test::fakeEmulatorPath() + "\" \"$@\"\necho done\n");
    std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
    for (const std::string& emulator : {test::fakeEmulatorPath(), wrapper}) {
        std::filesystem::remove(log);
        test::FakeEmulatorSettings hanging(log, 0, 3600 * 1000);
        std::atomic<bool> cancel = false;
        std::atomic<std::size_t> seen = 0;
        NameImportSummary summary;
        std::thread worker([&] {
            summary = importGameNames(
                emulator, gameList, [&](std::size_t sets) { seen = sets; }, &cancel);
        });
        while (seen < 6)
            std::this_thread::sleep_for(5ms);
        const std::optional<test::FakeEmulatorRecord> record = test::readFakeEmulatorRecord(log);
        cancel = true;
        worker.join();
        EXPECT_TRUE(summary.cancelled) << emulator;
        EXPECT_FALSE(summary.written) << emulator;
        EXPECT_EQ(test::readBytes(gameList), gameListBytes) << emulator;
        ASSERT_TRUE(record) << emulator;
        EXPECT_TRUE(test::processGone(record->pid)) << emulator;
    }

    // Step by step, as a window drives it.
    std::filesystem::remove(log);
    test::FakeEmulatorSettings hanging(log, 0, 3600 * 1000);
    int pid = 0;
    {
        GameNameImport import(test::fakeEmulatorPath(), gameList);
        while (import.setsRead() < 6)
            ASSERT_TRUE(import.poll(1s));
        EXPECT_TRUE(import.poll(0ms)); // still running, and the call does not wait
        pid = test::readFakeEmulatorRecord(log)->pid;
        import.cancel();
        EXPECT_FALSE(import.poll(0ms));
        EXPECT_TRUE(import.finish().cancelled);
        EXPECT_TRUE(test::processGone(pid));
    }
    // Dropped while running: the emulator goes with it.
    std::filesystem::remove(log);
    {
        GameNameImport import(test::fakeEmulatorPath(), gameList);
        while (!std::filesystem::exists(log))
            import.poll(10ms);
        pid = test::readFakeEmulatorRecord(log)->pid;
    }
    EXPECT_TRUE(test::processGone(pid));
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);
}

// Another writer of gamelist.ini, in a process of its own: it takes the file's lock and reads
// the file; told to write, it waits a moment, in which a writer that did not wait its turn would
// write, then writes its own entry on what it read and lets go. Left alone, it holds the lock
// until released.
class OtherWriter {
  public:
    OtherWriter(const std::string& path, const std::string& key, const std::string& value)
    {
        if (pipe(toChild_) != 0 || pipe(fromChild_) != 0)
            throw std::runtime_error("no pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(toChild_[1]);
            close(fromChild_[0]);
            int status = 0;
            try {
                const platform::FileLock lock(path);
                const std::string bytes = test::readBytes(path);
                char c = 'r';
                if (::write(fromChild_[1], &c, 1) != 1)
                    _exit(2);
                if (read(toChild_[0], &c, 1) == 1) {
                    std::this_thread::sleep_for(300ms);
                    platform::replaceFile(path, withGameListEntry(bytes, key, value));
                }
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        close(toChild_[0]);
        close(fromChild_[1]);
        char c = 0;
        if (read(fromChild_[0], &c, 1) != 1)
            throw std::runtime_error("the other writer did not start");
    }
    ~OtherWriter() { finish(); }
    void write()
    {
        const char c = 'w';
        EXPECT_EQ(::write(toChild_[1], &c, 1), 1);
    }
    // Lets go of the lock (after writing, when told to) and ends; its exit status.
    int finish()
    {
        if (pid_ <= 0)
            return -1;
        close(toChild_[1]);
        close(fromChild_[0]);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    int toChild_[2] = {-1, -1}, fromChild_[2] = {-1, -1};
    pid_t pid_ = 0;
};

TEST_F(NameImport, WritersOfTheFileWaitTheirTurnSoNoUpdateIsLost)
{
    {
        // "Add a new Game" in a window while the import runs: both names stay.
        OtherWriter addGame(gameList, "mygame", "My Game");
        addGame.write();
        const NameImportSummary summary = importGameNames(test::fakeEmulatorPath(), gameList);
        EXPECT_EQ(addGame.finish(), 0);
        EXPECT_EQ(summary.counts.added, 5u);
        const GameListIndex names = GameListIndex::load(gameList);
        EXPECT_EQ(names.find("mygame"), "My Game");
        EXPECT_EQ(names.find("pacman"), "Pac-Man (Midway)");
        EXPECT_EQ(names.find("pong"), "My own Pong");
    }
    {
        // And the other way round.
        OtherWriter import(gameList, "galaga", "Galaga");
        import.write();
        setGameListEntry(gameList, "dkong", "Donkey Kong");
        EXPECT_EQ(import.finish(), 0);
        const GameListIndex names = GameListIndex::load(gameList);
        EXPECT_EQ(names.find("galaga"), "Galaga");
        EXPECT_EQ(names.find("dkong"), "Donkey Kong");
        EXPECT_EQ(names.find("mygame"), "My Game");
    }

    // A lock held past the wait is a clear failure, never a success, and nothing is written.
    gameListBytes = test::readBytes(gameList);
    const std::string busy = "The file " + gameList +
                             " is being changed by another program; nothing was written. Try again when it has "
                             "finished";
    OtherWriter holder(gameList, "", "");
    const auto messageOf = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const FileBusyError& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(messageOf([&] {
                  importGameNames(test::fakeEmulatorPath(), gameList, {}, nullptr, kNameImportTimeLimit, 100ms);
              }),
              busy);
    EXPECT_EQ(messageOf([&] { setGameListEntry(gameList, "dkong", "Donkey Kong II", 100ms); }), busy);
    EXPECT_EQ(holder.finish(), 0);
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);
}

TEST_F(NameImport, WithoutALockFileOfItsOwnTheFileIsLockedAndNeverThroughALink)
{
    // Planted where the lock file goes: the lock neither follows it nor stops the write.
    const std::string elsewhere = dir.file("elsewhere");
    std::filesystem::create_symlink(elsewhere, gameList + ".lock");
    setGameListEntry(gameList, "dkong", "Donkey Kong");
    EXPECT_EQ(GameListIndex::load(gameList).find("dkong"), "Donkey Kong");
    EXPECT_FALSE(std::filesystem::exists(elsewhere));
    EXPECT_TRUE(std::filesystem::is_symlink(gameList + ".lock"));
    // A name too long for a lock file beside it: the write is still possible.
    const std::string longName = dir.file(std::string(250, 'g') + ".ini");
    setGameListEntry(longName, "dkong", "Donkey Kong");
    EXPECT_EQ(GameListIndex::load(longName).find("dkong"), "Donkey Kong");

    // Without a lock file (a folder in its place) the file itself is locked, and writers still
    // wait their turn, also for one that replaced the file while they waited.
    std::filesystem::remove(gameList + ".lock");
    std::filesystem::create_directory(gameList + ".lock");
    {
        OtherWriter other(gameList, "galaga", "Galaga");
        other.write();
        setGameListEntry(gameList, "pacman", "Pac-Man");
        EXPECT_EQ(other.finish(), 0);
    }
    const GameListIndex names = GameListIndex::load(gameList);
    EXPECT_EQ(names.find("galaga"), "Galaga");
    EXPECT_EQ(names.find("pacman"), "Pac-Man");
    EXPECT_EQ(names.find("dkong"), "Donkey Kong");
    OtherWriter holder(gameList, "", "");
    EXPECT_THROW(setGameListEntry(gameList, "x", "X", 100ms), FileBusyError);
    EXPECT_EQ(holder.finish(), 0);
}

#if defined(__SANITIZE_ADDRESS__)
#define ARCAVIO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ARCAVIO_ADDRESS_SANITIZER 1
#endif
#endif

#ifndef ARCAVIO_ADDRESS_SANITIZER
std::size_t statusBytes(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(field))
            return std::stoull(line.substr(field.size())) * 1024;
    return 0;
}

// How much more memory than it held before the import of this list takes at its peak, measured
// in a process of its own, and the import's error.
std::pair<std::size_t, std::string> importPeak(const std::string& list, const std::string& gameList)
{
    const test::FakeListSettings settings(list);
    int result[2];
    if (pipe(result) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        // The peak so far is the test program's, not the import's.
        std::ofstream("/proc/self/clear_refs") << "5";
        const std::size_t before = statusBytes("VmRSS:");
        std::string error;
        try {
            importGameNames(test::fakeEmulatorPath(), gameList);
        } catch (const Error& e) {
            error = e.what();
        }
        const std::size_t grown = statusBytes("VmHWM:") - before;
        const bool sent = ::write(result[1], &grown, sizeof grown) == sizeof grown &&
                          ::write(result[1], error.data(), error.size()) == static_cast<ssize_t>(error.size());
        _exit(sent ? 0 : 1);
    }
    close(result[1]);
    std::pair<std::size_t, std::string> got;
    if (read(result[0], &got.first, sizeof got.first) != sizeof got.first)
        ADD_FAILURE() << "the import's process gave no figure";
    char buffer[512];
    for (ssize_t n; (n = read(result[0], buffer, sizeof buffer)) > 0;)
        got.second.append(buffer, static_cast<std::size_t>(n));
    close(result[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return got;
}

// A list of `size` bytes, line after line from `line(n)`.
void writeList(const std::string& path, std::size_t size, const std::function<std::string(std::size_t)>& line)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (std::size_t n = 0, written = 0; written < size; ++n) {
        std::string next = line(n);
        if (written + next.size() > size)
            break;
        written += next.size();
        chunk += next;
        if (chunk.size() >= (1u << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

#endif

TEST_F(NameImport, MemoryStaysWithinAFewTimesWhatTheEmulatorMayPrint)
{
#ifdef ARCAVIO_ADDRESS_SANITIZER
    GTEST_SKIP() << "A sanitizer's memory is no measure of the import's.";
#else
    const std::size_t cap = 64u << 20, bound = 3 * cap;
    const std::string list = dir.file("list");
    const std::string named = "The emulator \"" + test::fakeEmulatorPath() + "\" ";
    // The smallest set lines there are, all the same set.
    writeList(list, cap - 16, [](std::size_t) { return std::string("a\"b\"\n"); });
    EXPECT_LT(importPeak(list, gameList).first, bound) << "one set, listed over and over";
    // As many different sets as fit.
    const auto name = [](std::size_t n) {
        std::string name;
        for (n += 36 * 36 * 36; n > 0; n /= 36)
            name += "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36];
        return name;
    };
    writeList(list, cap - 16, [&](std::size_t n) { return name(n) + "\"x\"\n"; });
    const auto [distinct, tooMany] = importPeak(list, gameList);
    EXPECT_LT(distinct, bound) << "millions of sets";
    EXPECT_EQ(tooMany, "gamelist.ini would grow past 64 MiB, more than the program reads; it was not changed");
    // More than the cap: refused in the end.
    test::writeBytes(gameList, gameListBytes);
    writeList(list, cap + 4096, [&](std::size_t n) { return name(n) + "\"x\"\n"; });
    const auto [flood, flooded] = importPeak(list, gameList);
    EXPECT_LT(flood, bound) << "a list too long";
    EXPECT_EQ(flooded, named + "printed more than 64 MiB; gamelist.ini was not changed.");
    // Descriptions in Windows-1252 that grow threefold as UTF-8: more than the file can hold.
    writeList(list, cap - 4096, [&](std::size_t n) { return name(n) + "\"" + std::string(200, '\x80') + "\"\n"; });
    const auto [grown, full] = importPeak(list, gameList);
    EXPECT_LT(grown, bound) << "descriptions that grow";
    EXPECT_EQ(full, named + "listed more names than gamelist.ini can hold (64 MiB); gamelist.ini was not changed.");
    EXPECT_EQ(test::readBytes(gameList), gameListBytes);
#endif
}

TEST_F(NameImport, TheDemoEmulatorListsItsSetsWithoutAWindowSystem)
{
    const std::string demo = ARCAVIO_BUILD_DIR "/demo-mame/mame";
    // Without a display a window would fail to open; listing must not need one.
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    const std::optional<std::string> display = saved("DISPLAY"), platform = saved("QT_QPA_PLATFORM");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const NameImportSummary summary = importGameNames(demo, gameList);
    for (const auto& [name, value] :
         {std::pair{"DISPLAY", display}, std::pair{"QT_QPA_PLATFORM", platform}}) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    EXPECT_GE(summary.counts.added, 6u);
    const GameListIndex names = GameListIndex::load(gameList);
    for (const char* set :
         {"starfury", "cometbusters", "mazechase", "bricklayer", "neonracer", "moonpatrol2"})
        EXPECT_TRUE(names.find(set).has_value()) << set;
    EXPECT_EQ(names.find("pong"), "My own Pong");
}

TEST_F(NameImport, ImportsFromTheRealEmulator)
{
    const std::string mame = "/usr/games/mame";
    if (!std::filesystem::exists(mame))
        GTEST_SKIP() << "No MAME is installed at " << mame
                     << "; the import from a real emulator is not tried.";
    gameListBytes = "[gamelist]\r\ngalaxian=My Galaxian\r\n";
    test::writeBytes(gameList, gameListBytes);
    const NameImportSummary summary = importGameNames(mame, gameList);
    EXPECT_GT(summary.setsRead, 1000u);
    EXPECT_EQ(summary.counts.kept, 1u);
    EXPECT_EQ(summary.oddLines, 0u);
    const GameListIndex names = GameListIndex::load(gameList);
    ASSERT_TRUE(names.find("pong").has_value());
    EXPECT_TRUE(names.find("pong")->starts_with("Pong")) << *names.find("pong");
    EXPECT_EQ(names.find("galaxian"), "My Galaxian");
}

} // namespace
} // namespace arcavio
