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

// The emulator's list, fed in pieces of any size as they arrive. A line ends at CR, LF or
// CR LF. Descriptions are kept as gamelist.ini will hold them: a zero byte becomes a blank, and
// a description that is not UTF-8 is read as Windows-1252, as a file would be.
class SetListReader {
  public:
    void feed(std::string_view bytes);
    // The list has ended: a last line without a line end counts too.
    void finish();

    std::size_t size() const { return sets_.size(); }
    ListedSet at(std::size_t index) const;
    // Lines that name no set: the header, blank lines and lines that do not parse.
    std::size_t skippedLines() const { return skipped_; }
    // Of those, the lines that are neither blank nor the header.
    std::size_t oddLines() const { return odd_; }

  private:
    struct Entry {
        std::size_t name, nameLength, description, descriptionLength;
    };
    void takeLine(std::string_view line, bool mayHoldZero);

    std::string text_;
    std::vector<Entry> sets_;
    std::string pending_; // the start of a line whose end has not arrived
    bool afterCarriageReturn_ = false;
    std::size_t skipped_ = 0, odd_ = 0;
};

struct NameMergeCounts {
    std::size_t added = 0;    // sets given a new line
    std::size_t kept = 0;     // sets the file names already: the user's value stays
    std::size_t refused = 0;  // set names the file cannot hold (see gameListKeyProblem)
    std::size_t repeated = 0; // sets listed again, without regard to case: the first counts
};

struct NameMerge {
    std::string bytes; // the file as it is to be written; unchanged when nothing was added
    NameMergeCounts counts;
};

// gamelist.ini's bytes with a line "name=description" for every listed set whose key it does not
// hold yet (keys compared as the select-game dialog compares them), in the list's order, after
// the last line of its first section "gamelist" (a section added at the end of the file when
// there is none). Every other byte stays, as "Add a new Game" keeps it: the byte-order mark, the
// line ends, whatever follows a zero byte, and the encoding: a Windows-1252 file stays one when
// every new line fits the code page; otherwise the whole file becomes UTF-8.
// Time and memory are linear in the sizes of the file and the list.
NameMerge mergeGameNames(std::string_view fileBytes, const SetListReader& sets);

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
    std::size_t skippedLines = 0, oddLines = 0; // see SetListReader
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
                   std::chrono::milliseconds timeLimit = kNameImportTimeLimit);
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
    // no set, or gamelist.ini would grow past what the program reads (64 MiB); FileOpenError or
    // FileCreateError when gamelist.ini cannot be read or written.
    NameImportSummary finish();

    const std::string& emulator() const { return emulator_; }

  private:
    [[noreturn]] void fail(const std::string& what) const;

    std::string emulator_;
    std::string gameListPath_;
    std::chrono::milliseconds timeLimit_;
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
                                  std::chrono::milliseconds timeLimit = kNameImportTimeLimit);

} // namespace arcavio
