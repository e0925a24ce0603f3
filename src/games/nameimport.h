#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "games/gamelist.h"
#include "platform/filelock.h"
#include "text/errors.h"

// Game names from the emulator itself: the list of every set it knows, which it prints when
// started with -listfull, read as it arrives and merged into gamelist.ini without touching a
// name the user wrote.
namespace arcavio {

namespace platform {
class ChildProcess;
}

// One set of the list: its short name and its description.
struct ListedSet {
    std::string_view name;
    std::string_view description;
};

// The set one line of the list names: the word before the first double quote, and the text
// between the first and the last double quote (inner quotes belong to the description). Nothing
// for the header, a blank line, a line without two quotes, with more than one word before them,
// with more than blanks after the last, or with a blank description.
std::optional<ListedSet> parseSetLine(std::string_view line);

// Whether a word of the list can be a set's name: letters, digits and underscores, as the
// emulator names its sets (0.251's longest holds 32), at most kSetNameLimit of them. Letters
// of either case: the file compares names without regard to case.
inline constexpr std::size_t kSetNameLimit = 64;
bool isSetName(std::string_view name);

// The emulator's list, fed in pieces of any size as they arrive, and kept only as the names it
// will add: the first listing of each set (see GameListNames). A line ends at CR, LF or CR LF.
// Descriptions are kept as gamelist.ini will hold them: a zero byte becomes a blank, and a
// description that is not UTF-8 is read as Windows-1252, as a file would be.
class SetListReader {
  public:
    void feed(std::string_view bytes);
    // The list has ended: a last line without a line end counts too.
    void finish();

    // Lines that name a set, repeats included.
    std::size_t size() const { return listed_; }
    const GameListNames& names() const { return names_; }
    // The names, for a merge that consumes them; the reader holds none afterwards.
    GameListNames takeNames() { return std::move(names_); }
    // Lines that name no set: the header, blank lines, lines that do not parse and lines whose
    // name is no set name.
    std::size_t skippedLines() const { return skipped_; }
    // Of those, the lines that are neither blank nor the header.
    std::size_t oddLines() const { return odd_; }
    // Of those, the lines that parse but whose name is no set name.
    std::size_t notSetNames() const { return notSetNames_; }

  private:
    void takeLine(std::string_view line);

    GameListNames names_;
    std::string pending_; // the start of a line whose end has not arrived
    bool afterCarriageReturn_ = false;
    std::size_t listed_ = 0, skipped_ = 0, odd_ = 0, notSetNames_ = 0;
};

using NameMergeCounts = GameListMergeCounts;

// An import that failed: the message names the emulator and says what went wrong, with the
// first lines of its error output when it wrote any.
class NameImportError : public Error {
  public:
    using Error::Error;
};

struct NameImportSummary {
    bool cancelled = false; // the emulator was stopped; nothing was written
    bool written = false;   // gamelist.ini was replaced; false when every set was named already
    std::size_t setsRead = 0;
    NameMergeCounts counts;
    std::size_t skippedLines = 0, oddLines = 0, notSetNames = 0; // see SetListReader
};

// How long the emulator may take to list its sets: the real list comes in under a second, and a
// script has no Cancel.
inline constexpr std::chrono::seconds kNameImportTimeLimit{120};

// Called with the number of sets read so far.
using NameImportProgress = std::function<void(std::size_t setsRead)>;

// One import, step by step, for a caller that must never block: start it, call poll() with a
// zero wait from a timer (every 10 to 50 ms: an emulator may write its list a few bytes at a
// time, and reading every piece as it comes slows it down) or readToEnd() in a worker thread,
// then finish(). Not thread-safe: every call comes from the thread that created the object,
// which must outlive the import (the system ends the emulator with the thread that started it).
class GameNameImport {
  public:
    // Starts "emulator -listfull" in the emulator's directory, without a shell (a relative
    // path is taken from the current directory). Throws NameImportError when the program is
    // missing or cannot be started.
    GameNameImport(const std::string& emulator, std::string gameListPath,
                   std::chrono::milliseconds timeLimit = kNameImportTimeLimit,
                   std::chrono::milliseconds lockWait = platform::kFileLockWait);
    // An emulator still running is killed and reaped; nothing is written.
    ~GameNameImport();
    GameNameImport(const GameNameImport&) = delete;
    GameNameImport& operator=(const GameNameImport&) = delete;

    // Reads what the emulator has printed, waiting at most `wait` for more; false once it has
    // ended (or was cancelled), and finish() is next.
    bool poll(std::chrono::milliseconds wait);
    // Sets read so far, and bytes of the emulator's output.
    std::size_t setsRead() const { return reader_.size(); }
    std::size_t bytesRead() const { return bytesRead_; }
    // Kills the emulator at once; finish() then writes nothing.
    void cancel();
    // poll() until the emulator has ended, on the calling thread, which it blocks. `progress`
    // is called on that thread at most every 50 ms while sets arrive, and once at the end.
    // `cancel` may be set from any thread: within 20 ms the emulator is killed and reaped.
    void readToEnd(const NameImportProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);
    // Waits for the emulator's end when poll() has not seen it yet, then merges what it listed
    // into gamelist.ini in one write. Throws NameImportError, leaving the file untouched, when
    // the emulator failed (exit code other than 0, a crash, more output than 64 MiB, more time
    // than the limit), listed
    // no set, more names than gamelist.ini can hold, or gamelist.ini would grow past what the
    // program reads (64 MiB); FileOpenError or FileCreateError when gamelist.ini cannot be read
    // or written, FileBusyError when another program holds it locked for longer than
    // `lockWait`. The file is read, merged and written under its lock (see addGameListNames),
    // so names another program added meanwhile stay.
    NameImportSummary finish();

    const std::string& emulator() const { return emulator_; }

  private:
    [[noreturn]] void fail(const std::string& what) const;

    std::string emulator_;
    std::string gameListPath_;
    std::chrono::milliseconds timeLimit_, lockWait_;
    std::unique_ptr<platform::ChildProcess> child_;
    SetListReader reader_;
    std::string arrived_;
    std::size_t bytesRead_ = 0;
    bool cancelled_ = false;
};

// The whole import on the calling thread, which it blocks until the emulator has ended: meant
// for a worker thread or a program without a window. Progress and cancel as readToEnd(); once
// cancelled, nothing is written and the summary says so. Throws as GameNameImport does.
NameImportSummary importGameNames(const std::string& emulator, const std::string& gameListPath,
                                  const NameImportProgress& progress = {},
                                  const std::atomic<bool>* cancel = nullptr,
                                  std::chrono::milliseconds timeLimit = kNameImportTimeLimit,
                                  std::chrono::milliseconds lockWait = platform::kFileLockWait);

} // namespace arcavio
