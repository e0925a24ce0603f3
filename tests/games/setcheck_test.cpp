#include "games/setcheck.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <thread>

#include "platform/filesystem.h"
#include "support/fake_emulator.h"
#include "support/installed_mame.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::map<std::string, SetState> cachedStates(const std::string& cachePath, const std::string& version)
{
    const SetCheckCache cache = SetCheckCache::read(cachePath);
    std::map<std::string, SetState> states;
    for (std::size_t i = 0; i < cache.size(); ++i)
        if (cache.at(i).version == version)
            states[fs::path(cache.at(i).path).filename().string()] = cache.at(i).state;
    return states;
}

std::vector<std::string> runsLogged(const std::string& log)
{
    std::vector<std::string> runs;
    if (!platform::fileExists(log))
        return runs;
    const std::string bytes = test::readBytes(log);
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find('\n', start);
        runs.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return runs;
}

class VerifyLog {
  public:
    explicit VerifyLog(std::string path) : path_(std::move(path))
    {
        setenv("ARCAVIO_FAKE_VERIFY_LOG", path_.c_str(), 1);
    }
    ~VerifyLog() { unsetenv("ARCAVIO_FAKE_VERIFY_LOG"); }
    VerifyLog(const VerifyLog&) = delete;
    VerifyLog& operator=(const VerifyLog&) = delete;
    std::vector<std::string> takeRuns()
    {
        std::vector<std::string> runs = runsLogged(path_);
        std::error_code ignored;
        fs::remove(path_, ignored);
        return runs;
    }

  private:
    std::string path_;
};

TEST(VerifyAnswer, ReadsTheEmulatorsLinesInPiecesAndHearsOnlyTheSetsAsked)
{
    // As MAME 0.251 prints them, with lines of no format and about sets not asked between.
    const std::string answer = "pacman      : pacman.6e (4096 bytes) - INCORRECT LENGTH: 6 bytes\n"
                               "pacman      : pacman.6f (4096 bytes) - NOT FOUND\n"
                               "pacman      : pacman.6h (4096 bytes) - NOT FOUND\n"
                               "pacman      : 82s123.7f (32 bytes) - NOT FOUND (puckman)\n"
                               "romset pacman [puckman] is bad\n"
                               "unzip: /r/junk.zip couldn't find ECD\r\n"
                               "romset galaga is good\n"
                               "romset pong is best available\n"
                               "romset breakout is superb\n"
                               "romset -rompath is good\n" +
                               std::string(9000, 'y') + " : romset galaxian is good\n" +
                               "2 romsets found, 1 were OK.";
    const std::vector<std::string> asked = {"pong", "pacman", "galaxian", "breakout", "mspacman"};
    for (const std::size_t piece : {answer.size(), std::size_t{1}, std::size_t{7}}) {
        VerifyAnswerReader reader(asked);
        for (std::size_t at = 0; at < answer.size(); at += piece)
            reader.feed(std::string_view(answer).substr(at, piece));
        reader.finish();
        const std::vector<SetVerdict>& verdicts = reader.verdicts();
        EXPECT_TRUE(verdicts[0].said && verdicts[0].state == SetState::BestAvailable) << piece;
        ASSERT_TRUE(verdicts[1].said && verdicts[1].state == SetState::Bad) << piece;
        EXPECT_EQ(verdicts[1].missCount, 4u);
        EXPECT_EQ(verdicts[1].misses,
                  (std::vector<std::string>{"pacman.6e (4096 bytes) - INCORRECT LENGTH: 6 bytes",
                                            "pacman.6f (4096 bytes) - NOT FOUND",
                                            "pacman.6h (4096 bytes) - NOT FOUND"}));
        // A romset line hidden in an overlong line, an unknown verdict, sets not asked: nothing.
        EXPECT_FALSE(verdicts[2].said);
        EXPECT_FALSE(verdicts[3].said);
        EXPECT_FALSE(verdicts[4].said);
        EXPECT_EQ(reader.said(), 2u);
        EXPECT_EQ(reader.lastSet(), "pong");
        EXPECT_TRUE(reader.closed());
        EXPECT_EQ(reader.oddLines(), 5u) << piece;
    }
    EXPECT_TRUE(isPlainSetName("sf2ce_2"));
    for (const char* refused : {"", "-rompath", "Pacman", "pac*", "pac man", "a/b", "\xC3\xA9t\xC3\xA9"})
        EXPECT_FALSE(isPlainSetName(refused)) << refused;
}

// A folder of every kind of set, checked in batches of two by a stand-in that answers in its
// own order; then checked again as its zips and the emulator change.
TEST(SetCheck, AsksInBatchesKeepsResultsAndAsksAgainOnlyWhatChanged)
{
    const test::TempDir root;
    const std::string roms = root.mkdir("roms");
    const std::string more = root.mkdir("more");
    for (const char* name : {"good1.zip", "best1.zip", "bad1.zip", "gone1.zip", "garbage1.zip", "Upper.zip",
                             "-rompath.zip", "notaset.txt"})
        root.write(std::string("roms/") + name, "zip");
    root.write("more/good1.zip", "the first folder holds it");
    root.write("more/good2.zip", "zip");
    VerifyLog log(root.file("runs"));
    SetCheckRequest request{test::fakeEmulatorPath(), "0.251", roms + ";" + more,
                            root.file("cache/set-checks.txt"), 2};

    const SetCheckSummary first = checkSets(request);
    EXPECT_EQ(log.takeRuns(), (std::vector<std::string>{"verifyroms 2", "verifyroms 2", "verifyroms 2"}));
    EXPECT_EQ(first.sets, 8u);
    EXPECT_EQ(first.refused, 2u); // Upper and -rompath never reach the command line
    EXPECT_EQ(first.good, 2u);
    EXPECT_EQ(first.bestAvailable, 1u);
    EXPECT_EQ(first.bad, 1u);
    EXPECT_EQ(first.notFound, 2u); // gone1, and garbage1 that no line named
    EXPECT_EQ(first.checked, 6u);
    EXPECT_TRUE(first.cacheWritten);
    EXPECT_EQ(setCheckSummaryText(first),
              "8 sets in the ROM folders: 2 good, 1 best available, 1 bad, 2 not found.\n"
              "2 zips have names the emulator was not asked about.\n"
              "bad1 misses:\n"
              "    prog.6e (4096 bytes) - INCORRECT LENGTH: 6 bytes\n"
              "    prog.6f (4096 bytes) - NOT FOUND (parentset)");
    const std::map<std::string, SetState> expected = {
        {"good1.zip", SetState::Good},          {"good2.zip", SetState::Good},
        {"best1.zip", SetState::BestAvailable}, {"bad1.zip", SetState::Bad},
        {"gone1.zip", SetState::NotFound},      {"garbage1.zip", SetState::NotFound}};
    EXPECT_EQ(cachedStates(request.cachePath, "0.251"), expected);

    // Nothing changed: nothing is asked, and the results are those kept.
    const SetCheckSummary again = checkSets(request);
    EXPECT_TRUE(log.takeRuns().empty());
    EXPECT_EQ(again.known, 6u);
    EXPECT_EQ(again.good, 2u);
    EXPECT_EQ(again.bad, 1u);

    // A zip rewritten, one added, one removed: those alone.
    fs::last_write_time(roms + "/bad1.zip", fs::last_write_time(roms + "/bad1.zip") - 1h);
    root.write("more/good3.zip", "zip");
    fs::remove(roms + "/gone1.zip");
    const SetCheckSummary changed = checkSets(request);
    EXPECT_EQ(log.takeRuns(), (std::vector<std::string>{"verifyroms 2"}));
    EXPECT_EQ(changed.checked, 2u);
    EXPECT_EQ(changed.known, 4u);
    std::map<std::string, SetState> now = expected;
    now.erase("gone1.zip");
    now["good3.zip"] = SetState::Good;
    EXPECT_EQ(cachedStates(request.cachePath, "0.251"), now);

    // Another version asks about everything, and keeps the other version's results.
    request.version = "0.252";
    EXPECT_EQ(checkSets(request).checked, 6u);
    EXPECT_EQ(log.takeRuns().size(), 3u);
    EXPECT_EQ(cachedStates(request.cachePath, "0.252"), now);
    EXPECT_EQ(cachedStates(request.cachePath, "0.251"), now);
    const SetCheckCache cache = SetCheckCache::read(request.cachePath);
    EXPECT_EQ(cache.at(0).version, "0.252"); // the newest first, which the marks show

    // Another folder checked keeps what was found in these.
    const std::string other = root.mkdir("other");
    root.write("other/good9.zip", "zip");
    SetCheckRequest elsewhere = request;
    elsewhere.romFolders = other;
    checkSets(elsewhere);
    log.takeRuns();
    std::map<std::string, SetState> everywhere = now;
    everywhere["good9.zip"] = SetState::Good;
    EXPECT_EQ(cachedStates(request.cachePath, "0.252"), everywhere);

    // Every kind of set the listing gives is checked, as the listing gives it.
    root.mkdir("other/galaxian");
    root.write("other/galaxian/galmidw.u", "rom");
    root.write("other/pacman.7z", "7z");
    std::vector<std::string> names;
    for (const RomSetFile& file : listRomSetFiles(other))
        names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::string>{"galaxian", "good9.zip", "pacman.7z"}));

    // Batches are 200 names at least, and never more than four runs.
    request.version = "0.253";
    request.batchSize = 0;
    checkSets(request);
    EXPECT_EQ(log.takeRuns(), (std::vector<std::string>{"verifyroms 6"}));
}

TEST(SetCheck, KeepsWhatWasSaidWhenTheEmulatorCrashesOrIsCancelled)
{
    const test::TempDir root;
    const std::string roms = root.mkdir("roms");
    // The stand-in answers last name first: good2 and good1 before the crash; good3 is never asked.
    for (const char* name : {"good1.zip", "crash1.zip", "good2.zip", "good3.zip"})
        root.write(std::string("roms/") + name, "zip");
    SetCheckRequest request{test::fakeEmulatorPath(), "0.251", roms, root.file("set-checks.txt"), 3};
    try {
        checkSets(request);
        ADD_FAILURE() << "a crash is no answer";
    } catch (const SetCheckError& error) {
        EXPECT_NE(std::string(error.what()).find("was ended by signal"), std::string::npos) << error.what();
    }
    EXPECT_EQ(
        cachedStates(request.cachePath, "0.251"),
        (std::map<std::string, SetState>{{"good1.zip", SetState::Good}, {"good2.zip", SetState::Good}}));

    // Cancelled while the emulator hangs: it is gone at once, and what it said is kept.
    fs::remove(roms + "/crash1.zip");
    root.write("roms/ahang1.zip", "zip");
    const std::string record = root.file("record");
    const test::FakeEmulatorSettings settings(record);
    SetCheck check(request);
    EXPECT_EQ(check.toCheck(), 2u);
    while (check.checkedSoFar() < 1 && check.poll(10ms)) {
    }
    EXPECT_EQ(check.currentSet(), "good3");
    check.cancel();
    const std::optional<test::FakeEmulatorRecord> started = test::readFakeEmulatorRecord(record);
    ASSERT_TRUE(started);
    EXPECT_TRUE(test::processGone(started->pid));
    const SetCheckSummary summary = check.finish();
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.unchecked, 1u);
    EXPECT_EQ(cachedStates(request.cachePath, "0.251"),
              (std::map<std::string, SetState>{{"good1.zip", SetState::Good},
                                               {"good2.zip", SetState::Good},
                                               {"good3.zip", SetState::Good}}));
}

TEST(SetCheck, KeepsWhatAnotherCheckWroteToTheCacheMeanwhile)
{
    const test::TempDir root;
    const std::string roms = root.mkdir("roms");
    const std::string other = root.mkdir("other");
    root.write("roms/good1.zip", "zip");
    root.write("other/bad2.zip", "zip");
    const std::string cache = root.file("set-checks.txt");
    SetCheck slow({test::fakeEmulatorPath(), "0.251", roms, cache, 2});
    // A second window checks another folder and writes the cache while the first runs.
    EXPECT_TRUE(checkSets({test::fakeEmulatorPath(), "0.251", other, cache, 2}).cacheWritten);
    EXPECT_TRUE(slow.finish().cacheWritten);
    EXPECT_EQ(cachedStates(cache, "0.251"),
              (std::map<std::string, SetState>{{"bad2.zip", SetState::Bad}, {"good1.zip", SetState::Good}}));
}

TEST(SetCheckCache, ATruncatedForeignOrHostileFileGivesOnlyWhatIsWhole)
{
    const std::string good = "0.251\tg\t10\t20\t/roms/a.zip\n";
    EXPECT_EQ(SetCheckCache::parse(std::string(kSetCheckCacheHeader) + "\n" + good).size(), 1u);
    EXPECT_EQ(SetCheckCache::parse("arcavio set checks 2\n" + good).size(), 0u);
    EXPECT_EQ(SetCheckCache::parse(good).size(), 0u);
    const std::string hostile = std::string(kSetCheckCacheHeader) + "\n" + good +
                                "0.251\tg\t10\t20\t/roms/a.zip\n"         // a repeat: the first counts
                                "0.251\tq\t10\t20\t/roms/b.zip\n"         // no such state
                                "0.251\tg\t-1\t20\t/roms/c.zip\n"         // a size below zero
                                "0.251\tg\t10\t20\troms/d.zip\n"          // relative
                                "0.251\tg\t10\t20\t/roms/e\x01.zip\n"     // a control character
                                "0.2 51\tg\t10\t20\t/roms/f.zip\n"        // a version no emulator gives
                                "0.251\tg\t99999999999999999999\t1\t/g\n" // too large
                                "0.250\tx\t10\t20\t/roms/a.zip\n"
                                "0.251\tb\t10\t20\t/roms/h.z"; // cut short by a crash
    const SetCheckCache cache = SetCheckCache::parse(hostile);
    ASSERT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.find("0.251", "/roms/a.zip", {10, 20}), SetState::Good);
    EXPECT_EQ(cache.find("0.250", "/roms/a.zip", {10, 20}), SetState::Bad);
    EXPECT_EQ(cache.find("0.251", "/roms/a.zip", {10, 21}), std::nullopt);
    EXPECT_EQ(cache.newest("/roms/a.zip", {10, 20}), SetState::Good);
    EXPECT_TRUE(cache.holdsFolder("/roms"));
    EXPECT_FALSE(cache.holdsFolder("/rom"));
    // What is written reads back as it was, and a path no line can hold is left out.
    const std::string bytes = cache.serialize({{"0.252", "/roms/new\n.zip", {1, 2}, SetState::Good},
                                               {"0.252", "/roms/n.zip", {1, -2}, SetState::NotFound}},
                                              {true, false});
    const SetCheckCache back = SetCheckCache::parse(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.find("0.252", "/roms/n.zip", {1, -2}), SetState::NotFound);
    EXPECT_EQ(back.find("0.251", "/roms/a.zip", {10, 20}), SetState::Good);
}

// Debian's MAME on sets it has no files of and on a zip that holds a wrong file.
TEST(SetCheck, DebiansMameJudgesRomlessSetsAndABadZip)
{
    SKIP_WITHOUT_MAME();
    const test::TempDir root;
    const std::string roms = root.mkdir("roms");
    for (const char* name : {"pong.zip", "mspacman.zip", "nosuchsetatall.zip"})
        root.write(std::string("roms/") + name, "not a zip");
    // A zip of one stored file "pacman.6e" holding "hello\n".
    const std::string zip = root.file("roms/pacman.zip");
    ASSERT_EQ(std::system(("cd " + root.path() +
                           " && printf 'hello\\n' > pacman.6e && python3 -c \"import zipfile;"
                           "zipfile.ZipFile('" +
                           zip + "','w').write('pacman.6e')\"")
                              .c_str()),
              0);
    SetCheckRequest request{test::kInstalledMame, "0.251", roms, root.file("set-checks.txt"), 0};
    const SetCheckSummary summary = checkSets(request);
    const std::map<std::string, SetState> expected = {{"pong.zip", SetState::BestAvailable},
                                                      {"pacman.zip", SetState::Bad},
                                                      {"mspacman.zip", SetState::NotFound},
                                                      {"nosuchsetatall.zip", SetState::NotFound}};
    EXPECT_EQ(cachedStates(request.cachePath, "0.251"), expected);
    ASSERT_EQ(summary.misses.size(), 1u);
    EXPECT_EQ(summary.misses[0].set, "pacman");
    EXPECT_EQ(summary.misses[0].lines.front(), "pacman.6e (4096 bytes) - INCORRECT LENGTH: 6 bytes");
    EXPECT_GT(summary.misses[0].count, 3u);
}

} // namespace
} // namespace arcavio
