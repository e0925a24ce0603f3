#include "games/nameimport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

#include "games/gamelist.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/encoding.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kBlanks = " \t";
// What an error message quotes of the emulator's error output.
constexpr std::size_t kErrorOutputKept = 8192;
constexpr std::size_t kErrorLinesShown = 5;

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(kBlanks) == std::string_view::npos;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Valid UTF-8, with plain ASCII (nearly every line) checked a word at a time.
bool isUtf8Fast(std::string_view bytes)
{
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0)
            break;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return isValidUtf8(bytes.substr(i));
    return true;
}

std::string errorLines(std::string_view errorOutput)
{
    // A line cut by the cap could end inside a character and spoil the decoding of the rest.
    if (errorOutput.size() >= kErrorOutputKept) {
        const std::size_t lastEnd = errorOutput.find_last_of("\r\n");
        errorOutput = errorOutput.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd);
    }
    return firstLinesShown(decodeText(errorOutput.substr(0, errorOutput.find('\0'))), kErrorLinesShown);
}

std::string quotedProgram(const std::string& program)
{
    return "\"" + visibleValue(program, kQuotedValueLimit) + "\"";
}

} // namespace

std::optional<ListedSet> parseSetLine(std::string_view line)
{
    const std::size_t first = line.find('"');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t last = line.rfind('"');
    if (last == first || !isBlank(line.substr(last + 1)))
        return std::nullopt;
    const std::string_view name = trimmed(line.substr(0, first));
    if (name.empty() || name.find_first_of(kBlanks) != std::string_view::npos)
        return std::nullopt;
    const std::string_view description = line.substr(first + 1, last - first - 1);
    if (isBlank(description))
        return std::nullopt;
    return ListedSet{name, description};
}

bool isSetName(std::string_view name)
{
    if (name.empty() || name.size() > kSetNameLimit)
        return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

void SetListReader::takeLine(std::string_view line)
{
    const std::optional<ListedSet> set = parseSetLine(line);
    if (!set || !isSetName(set->name)) {
        ++skipped_;
        if (!isBlank(line) && !line.starts_with("Name:"))
            ++odd_;
        if (set)
            ++notSetNames_;
        return;
    }
    ++listed_;
    if (isUtf8Fast(set->description))
        names_.add(set->name, set->description);
    else
        names_.add(set->name, cp1252ToUtf8(set->description));
}

void SetListReader::feed(std::string_view bytes)
{
    std::size_t at = 0;
    if (afterCarriageReturn_ && !bytes.empty()) {
        afterCarriageReturn_ = false;
        if (bytes.front() == '\n')
            at = 1;
    }
    // Carriage returns are rare: each is looked for once per piece, not per line.
    std::size_t carriageReturn = bytes.find('\r', at);
    while (at < bytes.size()) {
        if (carriageReturn < at)
            carriageReturn = bytes.find('\r', at);
        const auto* lineFeed =
            static_cast<const char*>(std::memchr(bytes.data() + at, '\n', bytes.size() - at));
        const std::size_t end = std::min(
            lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - bytes.data()) : std::string_view::npos,
            carriageReturn);
        if (end == std::string_view::npos) {
            pending_.append(bytes.substr(at));
            return;
        }
        if (pending_.empty()) {
            takeLine(bytes.substr(at, end - at));
        } else {
            pending_.append(bytes.substr(at, end - at));
            takeLine(pending_);
            pending_.clear();
        }
        at = end + 1;
        if (bytes[end] == '\r') {
            if (at == bytes.size())
                afterCarriageReturn_ = true;
            else if (bytes[at] == '\n')
                ++at;
        }
    }
}

void SetListReader::finish()
{
    if (!pending_.empty()) {
        takeLine(pending_);
        pending_.clear();
    }
    afterCarriageReturn_ = false;
}

GameNameImport::GameNameImport(const std::string& emulator, std::string gameListPath,
                               std::chrono::milliseconds timeLimit, std::chrono::milliseconds lockWait)
    : emulator_(emulator.empty() || std::filesystem::path(emulator).is_absolute()
                    ? emulator
                    : joinPath(platform::currentDirectory(), emulator)),
      gameListPath_(std::move(gameListPath)), timeLimit_(timeLimit), lockWait_(lockWait)
{
    if (platform::directoryExists(emulator_))
        throw NameImportError("The emulator " + quotedProgram(emulator_) + " is a folder, not a program");
    if (emulator_.empty() || !platform::fileExists(emulator_))
        throw NameImportError("The emulator " + quotedProgram(emulator_) + " does not exist");
    platform::ChildRequest request;
    request.program = emulator_;
    request.arguments = {"-listfull"};
    request.workingDirectory = directoryPart(emulator_);
    request.outputCap = platform::kProgramOutputLimit;
    request.errorCap = kErrorOutputKept;
    request.timeout = timeLimit;
    child_ = std::make_unique<platform::ChildProcess>(std::move(request));
    if (child_->end() == platform::ChildEnd::NotStarted)
        throw NameImportError("The emulator " + quotedProgram(emulator_) +
                              " could not be started: " + child_->startProblem());
}

GameNameImport::~GameNameImport() = default;

bool GameNameImport::poll(std::chrono::milliseconds wait)
{
    if (cancelled_)
        return false;
    const bool running = child_->poll(wait, arrived_);
    bytesRead_ += arrived_.size();
    reader_.feed(arrived_);
    arrived_.clear();
    return running;
}

void GameNameImport::cancel()
{
    cancelled_ = true;
    child_->cancel();
}

void GameNameImport::fail(const std::string& what) const
{
    std::string message = "The emulator " + quotedProgram(emulator_) + " " + what + "; " +
                          visibleValue(fileNamePart(gameListPath_)) + " was not changed.";
    const std::string said = errorLines(child_->errorOutput());
    if (!said.empty())
        message += "\nIt said:" + said;
    throw NameImportError(message);
}

NameImportSummary GameNameImport::finish()
{
    NameImportSummary summary;
    if (cancelled_) {
        summary.cancelled = true;
        return summary;
    }
    while (poll(std::chrono::hours(1))) {
    }
    reader_.finish();
    summary.setsRead = reader_.size();
    summary.skippedLines = reader_.skippedLines();
    summary.oddLines = reader_.oddLines();
    summary.notSetNames = reader_.notSetNames();

    switch (child_->end()) {
    case platform::ChildEnd::Exited:
        if (child_->exitCode() != 0)
            fail("ended with exit code " + std::to_string(child_->exitCode()));
        break;
    case platform::ChildEnd::Signalled:
        fail("was ended by signal " + std::to_string(child_->signal()));
    case platform::ChildEnd::OutputTooLarge:
        fail("printed more than " + std::to_string(platform::kProgramOutputLimit / platform::kMebibyte) +
             " MiB");
    case platform::ChildEnd::TimedOut:
        fail("did not finish its list within " +
             std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeLimit_).count()) +
             " seconds and was stopped");
    case platform::ChildEnd::Cancelled:
        summary.cancelled = true;
        return summary;
    default:
        fail("stopped before it ended");
    }
    if (reader_.size() == 0)
        fail(reader_.skippedLines() == 0 ? "printed nothing" : "printed no list of games");

    if (reader_.names().full())
        fail("listed more names than " + visibleValue(fileNamePart(gameListPath_)) + " can hold (" +
             std::to_string(kGameListTextLimit / platform::kMebibyte) + " MiB)");
    try {
        summary.counts = addGameListNames(gameListPath_, reader_.takeNames(), lockWait_);
    } catch (const RefusedValueError& e) {
        throw NameImportError(e.what());
    }
    summary.written = summary.counts.added > 0;
    return summary;
}

void GameNameImport::readToEnd(const NameImportProgress& progress, const std::atomic<bool>* cancel)
{
    // The emulator may write its list a few bytes at a time: reading each piece as it comes
    // would wake this thread hundreds of thousands of times and slow the emulator down, so while
    // little arrives the pipe is left to fill for a moment. A fast writer is read without pause.
    constexpr auto kPause = std::chrono::milliseconds(10);
    constexpr auto kReportEvery = std::chrono::milliseconds(50);
    constexpr std::size_t kPlenty = 64 * 1024;
    std::size_t reported = 0;
    Clock::time_point lastReport = Clock::now();
    bool littleBefore = false;
    while (true) {
        const std::size_t before = bytesRead_;
        // What is there, or the first piece to come.
        if (!poll(kPause))
            break;
        if (cancel != nullptr && cancel->load()) {
            this->cancel();
            return;
        }
        if (progress && setsRead() != reported && Clock::now() - lastReport >= kReportEvery) {
            reported = setsRead();
            lastReport = Clock::now();
            progress(reported);
        }
        // Twice little in a row: a slow writer, not one that has only just begun.
        const bool little = bytesRead_ - before < kPlenty;
        if (little && littleBefore)
            std::this_thread::sleep_for(kPause);
        littleBefore = little;
    }
    // A cancel that comes as the emulator ends still writes nothing.
    if (cancel != nullptr && cancel->load())
        this->cancel();
    else if (progress && setsRead() != reported)
        progress(setsRead());
}

NameImportSummary importGameNames(const std::string& emulator, const std::string& gameListPath,
                                  const NameImportProgress& progress, const std::atomic<bool>* cancel,
                                  std::chrono::milliseconds timeLimit, std::chrono::milliseconds lockWait)
{
    GameNameImport import(emulator, gameListPath, timeLimit, lockWait);
    import.readToEnd(progress, cancel);
    return import.finish();
}

} // namespace arcavio
