#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "games/setcheckcache.h"
#include "text/errors.h"

// Which sets of a ROM folder will run, asked of the emulator itself: "-verifyroms" with many set
// names at once, which MAME answers per set with "romset NAME [PARENT] is good", "is best
// available" or "is bad" after a line for each file it misses, and nothing for a set it found
// nothing of. Its answer is read as any stranger's: bounded, and never copied into a file or a
// command line.
namespace arcavio {

namespace platform {
class ChildProcess;
}

// A name the emulator's command line may carry: lowercase letters, digits and "_", at most 64.
// Anything else (a wildcard, a leading "-", upper case) is never handed over.
bool isPlainSetName(std::string_view name);

// What the emulator said of one set it was asked about.
struct SetVerdict {
    SetState state = SetState::NotFound;
    bool said = false;               // a romset line named it
    std::vector<std::string> misses; // its first file lines, as visible text
    std::size_t missCount = 0;       // all its file lines
};

// The answer of one "-verifyroms" run, fed in pieces of any size as it arrives. Only the sets
// asked about are heard; lines about others, and lines that are no part of the format, are
// counted and dropped. A line longer than 4 KiB is cut there.
class VerifyAnswerReader {
  public:
    explicit VerifyAnswerReader(const std::vector<std::string>& asked);
    void feed(std::string_view bytes);
    void finish();

    // The asked sets in their order; `said` false for those no romset line named.
    const std::vector<SetVerdict>& verdicts() const { return verdicts_; }
    std::size_t said() const { return said_; }
    // The set the last romset line named, or empty.
    const std::string& lastSet() const { return lastSet_; }
    // The closing "N romsets found, M were OK." line was read.
    bool closed() const { return closed_; }
    // Lines of the format about an asked set, and others.
    std::size_t formatLines() const { return formatLines_; }
    std::size_t oddLines() const { return oddLines_; }

  private:
    void takeLine(std::string_view line);

    std::unordered_map<std::string, std::size_t> asked_;
    std::vector<SetVerdict> verdicts_;
    std::string pending_;
    bool cut_ = false;
    std::string lastSet_;
    std::size_t said_ = 0, formatLines_ = 0, oddLines_ = 0;
    bool closed_ = false;
};

// One zip of the folders: the first folder that holds a name gives it, as the emulator searches.
struct RomSetFile {
    std::string name; // the file's name, "pacman.zip"
    std::string path; // absolute
    SetFileStamp stamp;
};

// The sets of a ";" list of absolute folders, as the game listing finds them (zips, 7z archives,
// set folders; the first folder holding a set wins); a folder that cannot be listed is skipped.
// Throws InOutError when none can be.
std::vector<RomSetFile> listRomSetFiles(const std::string& folders);

struct SetCheckRequest {
    std::string emulator;      // its program, run without a shell
    std::string version;       // what the cache files the results under
    std::string romFolders;    // ";" list of absolute folders, handed over as -rompath
    std::string cachePath;     // empty: no cache is read or written
    std::size_t batchSize = 0; // sets per emulator run; 0 chooses (see SetCheck)
};

struct SetMisses {
    std::string set;
    std::vector<std::string> lines;
    std::size_t count = 0;
};

struct SetCheckSummary {
    bool cancelled = false;
    std::size_t sets = 0;      // zips in the folders
    std::size_t known = 0;     // of them, results the cache held
    std::size_t checked = 0;   // results the emulator gave in this run
    std::size_t refused = 0;   // names the emulator is not asked about (see isPlainSetName)
    std::size_t unchecked = 0; // asked but left without a result (cancelled, or unclear answers)
    std::size_t good = 0, bestAvailable = 0, bad = 0, notFound = 0; // over known and checked
    std::vector<SetMisses> misses; // the bad sets of this run, in the listing's order
    std::size_t oddLines = 0;
    bool cacheWritten = false;
};

// A check that failed: the message names the emulator and says what went wrong.
class SetCheckError : public Error {
  public:
    using Error::Error;
};

// One check, step by step, for a caller that must never block: poll() with a zero wait from a
// timer, or run() on a thread of its own, then finish(). The sets whose zips the cache knows
// for this version are not asked again; the others go to the emulator a batch at a time, one
// process per batch: 200 names a batch and never more than four batches, since each run costs
// the emulator's start while its time per set does not depend on the batch. Not thread-safe.
class SetCheck {
  public:
    // Lists the folders and reads the cache; starts nothing yet. Throws SetCheckError when the
    // emulator is missing, InOutError when no folder can be listed.
    explicit SetCheck(SetCheckRequest request);
    ~SetCheck();
    SetCheck(const SetCheck&) = delete;
    SetCheck& operator=(const SetCheck&) = delete;

    // Reads what the emulator printed, waiting at most `wait`; starts the next batch when one
    // ends. False once every batch has ended, or the check was cancelled or failed.
    bool poll(std::chrono::milliseconds wait);
    // Stops the emulator at once; what was said so far is kept.
    void cancel();
    // poll() until done, calling `progress` at most every 50 ms; `cancel` may be set from any
    // thread.
    void run(const std::function<void()>& progress = {}, const std::atomic<bool>* cancel = nullptr);
    // Writes the cache with every result so far and tells what was found. Throws SetCheckError
    // (after writing) when an emulator run failed: it crashed, timed out, flooded its output or
    // ended with an exit code MAME does not give a check.
    SetCheckSummary finish();

    std::size_t toCheck() const { return names_.size(); }   // sets asked of the emulator
    std::size_t checkedSoFar() const;                       // of them, with a result
    std::size_t knownBefore() const { return knownCount_; } // results the cache gave
    std::size_t sets() const { return files_.size(); }
    std::string currentSet() const;
    const std::string& emulator() const { return request_.emulator; }
    std::size_t batchesStarted() const { return batchesStarted_; }

  private:
    void startBatch();
    void endBatch();

    SetCheckRequest request_;
    std::vector<RomSetFile> files_;
    SetCheckCache cache_;
    std::vector<std::optional<SetState>> results_; // per file
    std::vector<std::vector<std::string>> misses_; // per file, for bad ones of this run
    std::vector<std::size_t> missCounts_;
    std::vector<std::size_t> names_; // files to ask about, by index
    std::size_t refused_ = 0, knownCount_ = 0, checked_ = 0, oddLines_ = 0;
    std::size_t batchSize_ = 0, nextName_ = 0, batchBegin_ = 0, batchesStarted_ = 0;
    std::unique_ptr<platform::ChildProcess> child_;
    std::unique_ptr<VerifyAnswerReader> reader_;
    std::string arrived_;
    std::optional<std::string> failure_;
    std::string failureSaid_; // the first lines of the failed run's error output
    bool cancelled_ = false;
};

// The whole check on the calling thread; progress and cancel as SetCheck::run().
SetCheckSummary checkSets(const SetCheckRequest& request,
                          const std::function<void(const SetCheck&)>& progress = {},
                          const std::atomic<bool>* cancel = nullptr);

// The summary in plain English, a few lines: the counts, then what the bad sets miss (at most
// five sets, three lines each).
std::string setCheckSummaryText(const SetCheckSummary& summary);

} // namespace arcavio
