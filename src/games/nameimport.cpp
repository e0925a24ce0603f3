#include "games/nameimport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <filesystem>
#include <thread>

#include "games/gamelist.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/encoding.h"
#include "text/inifile.h"
#include "text/keyedhash.h"
#include "text/linelist.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
// What an error message quotes of the emulator's error output.
constexpr std::size_t kErrorOutputKept = 8192;
constexpr std::size_t kErrorLinesShown = 5;
constexpr std::size_t kErrorLineLimit = 200;

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

bool isSectionLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i]))
            return false;
    return true;
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

// The keys of the file's first section "gamelist", read by the rules of the game-list index,
// and where new lines go, by the rules "Add a new Game" follows for a key it does not find.
// Positions are in the file's text without byte-order mark and what follows a zero byte.
struct FileLayout {
    std::vector<std::string_view> keys;  // as the index reads them: UTF-8
    std::deque<std::string> decodedKeys; // Windows-1252 keys turned into UTF-8, for `keys`
    std::string lineEnd = "\r\n";        // the file's own: that of its first line
    bool sectionFound = false;
    std::size_t insertAt = 0;     // with a section: just after the end of its last line
    bool endBeforeInsert = false; // that line has no end of its own yet
    bool lastLineHasEnd = true;   // without a section: about the file's last line
    bool lastLineEmpty = true;
};

FileLayout layoutOf(std::string_view body, bool windows1252)
{
    FileLayout layout;
    bool endSeen = false;
    for (std::size_t start = 0; start < body.size();) {
        const auto [end, next] = lineAt(body, start);
        const std::string_view text = body.substr(start, end - start);
        if (!endSeen && next > end) {
            layout.lineEnd = std::string(body.substr(end, next - end));
            endSeen = true;
        }
        start = next;
        if (!layout.sectionFound) {
            layout.lastLineHasEnd = next > end;
            layout.lastLineEmpty = text.empty();
        }
        if (isSectionLine(text)) {
            if (layout.sectionFound)
                break; // only the first section of the name is read
            if (foldCase(text.substr(1, text.size() - 2)) == kGameListSection) {
                layout.sectionFound = true;
                layout.insertAt = next;
                layout.endBeforeInsert = next == end;
            }
            continue;
        }
        if (!layout.sectionFound || text.empty())
            continue;
        layout.insertAt = next;
        layout.endBeforeInsert = next == end;
        const std::size_t equals = text.find('=');
        if (text.front() == ';' || equals == std::string_view::npos)
            continue;
        const std::string_view key = text.substr(0, equals);
        if (windows1252 && !isUtf8Fast(key))
            layout.keys.push_back(layout.decodedKeys.emplace_back(cp1252ToUtf8(key)));
        else
            layout.keys.push_back(key);
    }
    return layout;
}

// The file's keys and the listed names in one open-addressed table, so that each name costs one
// probe. A slot holds the upper half of the name's hash and a reference; the hash is keyed per
// process like the index's, so no list can aim names at one slot. The slots to be probed are
// fetched ahead, since in a full collection nearly every probe misses the processor's caches.
class NameTable {
  public:
    enum class Found { New, InFile, Repeated };

    NameTable(const std::vector<std::string_view>& fileKeys, const SetListReader& sets)
        : fileKeys_(fileKeys), sets_(sets)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * (fileKeys.size() + sets.size()))
            capacity *= 2;
        slots_.assign(capacity, 0);
        mask_ = capacity - 1;
        std::vector<std::uint64_t> hashes(fileKeys.size());
        for (std::size_t i = 0; i < fileKeys.size(); ++i)
            hashes[i] = hashOf(fileKeys[i]);
        for (std::size_t i = 0; i < fileKeys.size(); ++i) {
            if (i + kAhead < fileKeys.size())
                prefetch(hashes[i + kAhead]);
            probe(hashes[i], fileKeys[i], static_cast<std::uint32_t>(i));
        }
    }

    static constexpr std::size_t kAhead = 8;
    static std::uint64_t hashOf(std::string_view name) { return sipHash(name, processHashKey(), {}, true); }
    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    // Listed set `index`: new (and now taken), named in the file, or listed before.
    Found take(std::uint64_t hash, std::size_t index)
    {
        return probe(hash, sets_.at(index).name, static_cast<std::uint32_t>(fileKeys_.size() + index));
    }

  private:
    // In a reference: a key of the file that a listed set has met, so the next is a repeat.
    static constexpr std::uint32_t kMet = 0x80000000u;

    std::string_view nameOf(std::uint32_t reference) const
    {
        reference &= ~kMet;
        return reference < fileKeys_.size() ? fileKeys_[reference]
                                            : sets_.at(reference - fileKeys_.size()).name;
    }

    Found probe(std::uint64_t hash, std::string_view name, std::uint32_t reference)
    {
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            std::uint64_t& taken = slots_[slot];
            if (taken == 0) {
                taken = (std::uint64_t{tag} << 32) | (std::uint64_t{reference} + 1);
                return Found::New;
            }
            const auto other = static_cast<std::uint32_t>((taken & 0xFFFFFFFFu) - 1);
            if (static_cast<std::uint32_t>(taken >> 32) != tag || !sameIgnoringCase(nameOf(other), name))
                continue;
            if (other < fileKeys_.size() && reference >= fileKeys_.size()) {
                taken = (std::uint64_t{tag} << 32) | (std::uint64_t{other | kMet} + 1);
                return Found::InFile;
            }
            return Found::Repeated; // a listed set again, a key the file repeats, or a key met
        }
    }

    const std::vector<std::string_view>& fileKeys_;
    const SetListReader& sets_;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

// The emulator's error output as a message quotes it: its first non-blank lines, each bounded.
std::string errorLines(std::string_view errorOutput)
{
    // A line cut by the cap could end inside a character and spoil the decoding of the rest.
    if (errorOutput.size() >= kErrorOutputKept) {
        const std::size_t lastEnd = errorOutput.find_last_of("\r\n");
        errorOutput = errorOutput.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd);
    }
    const std::string text = decodeText(errorOutput.substr(0, errorOutput.find('\0')));
    std::string lines;
    std::size_t shown = 0;
    for (std::size_t start = 0; start < text.size() && shown < kErrorLinesShown;) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        lines += '\n';
        lines += visibleValue(line, kErrorLineLimit);
        ++shown;
    }
    return lines;
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

void SetListReader::takeLine(std::string_view line, bool mayHoldZero)
{
    const std::optional<ListedSet> set = parseSetLine(line);
    if (!set) {
        ++skipped_;
        if (!isBlank(line) && !line.starts_with("Name:"))
            ++odd_;
        return;
    }
    Entry entry{text_.size(), set->name.size(), 0, 0};
    text_ += set->name;
    entry.description = text_.size();
    if (isUtf8Fast(set->description))
        text_ += set->description;
    else
        text_ += cp1252ToUtf8(set->description);
    entry.descriptionLength = text_.size() - entry.description;
    // A zero byte would end the file's readable text at this line.
    if (mayHoldZero)
        std::replace(text_.begin() + static_cast<std::ptrdiff_t>(entry.description), text_.end(), '\0', ' ');
    sets_.push_back(entry);
}

void SetListReader::feed(std::string_view bytes)
{
    // Nearly all of it is kept; growing once spares copying it again and again.
    if (text_.capacity() < text_.size() + bytes.size())
        text_.reserve(std::max(text_.size() + bytes.size(), 2 * text_.capacity()));
    std::size_t at = 0;
    if (afterCarriageReturn_ && !bytes.empty()) {
        afterCarriageReturn_ = false;
        if (bytes.front() == '\n')
            at = 1;
    }
    // Carriage returns and zero bytes are rare: each is looked for once per piece, not per line.
    const bool mayHoldZero = bytes.find('\0', at) != std::string_view::npos;
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
            takeLine(bytes.substr(at, end - at), mayHoldZero);
        } else {
            pending_.append(bytes.substr(at, end - at));
            takeLine(pending_, true);
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
        takeLine(pending_, true);
        pending_.clear();
    }
    afterCarriageReturn_ = false;
}

ListedSet SetListReader::at(std::size_t index) const
{
    const Entry& entry = sets_.at(index);
    const std::string_view text = text_;
    return {text.substr(entry.name, entry.nameLength),
            text.substr(entry.description, entry.descriptionLength)};
}

NameMerge mergeGameNames(std::string_view fileBytes, const SetListReader& sets)
{
    NameMerge merge;
    // What follows a zero byte is never read; it is kept behind the new text.
    const std::size_t zero = fileBytes.find('\0');
    const std::string_view tail =
        zero == std::string_view::npos ? std::string_view() : fileBytes.substr(zero);
    std::string_view body = fileBytes.substr(0, zero);
    const bool byteOrderMark = body.starts_with(kByteOrderMark);
    if (byteOrderMark)
        body.remove_prefix(kByteOrderMark.size());
    const bool windows1252 = !isUtf8Fast(body);
    const FileLayout layout = layoutOf(body, windows1252);
    if (layout.keys.size() + sets.size() >= 0x7FFFFFFFu)
        throw NameImportError("The list of games is too long to merge into gamelist.ini");

    // Every name is hashed first, so that the table's slots can be fetched ahead of their use.
    std::vector<std::uint64_t> hashes(sets.size());
    std::vector<bool> refused(sets.size());
    std::size_t most = 0;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const ListedSet set = sets.at(i);
        refused[i] = gameListKeyProblem(set.name).has_value();
        hashes[i] = NameTable::hashOf(set.name);
        most += set.name.size() + 1 + set.description.size() + layout.lineEnd.size();
    }
    NameTable table(layout.keys, sets);
    std::string added;
    added.reserve(most);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (i + NameTable::kAhead < sets.size())
            table.prefetch(hashes[i + NameTable::kAhead]);
        if (refused[i]) {
            ++merge.counts.refused;
            continue;
        }
        switch (table.take(hashes[i], i)) {
        case NameTable::Found::InFile:
            ++merge.counts.kept;
            break;
        case NameTable::Found::Repeated:
            ++merge.counts.repeated;
            break;
        case NameTable::Found::New:
            const ListedSet set = sets.at(i);
            added += set.name;
            added += '=';
            added += set.description;
            added += layout.lineEnd;
            ++merge.counts.added;
            break;
        }
    }
    if (added.empty()) {
        merge.bytes = std::string(fileBytes);
        return merge;
    }

    // toUtf8: a Windows-1252 file becomes UTF-8 as a whole.
    const auto assemble = [&](std::string_view newLines, bool toUtf8) {
        std::string out;
        out.reserve(kByteOrderMark.size() + body.size() + (toUtf8 ? body.size() / 2 : 0) + newLines.size() +
                    32 + tail.size());
        const auto kept = [&](std::string_view part) {
            if (toUtf8)
                out += cp1252ToUtf8(part);
            else
                out += part;
        };
        if (byteOrderMark)
            out += kByteOrderMark;
        if (layout.sectionFound) {
            kept(body.substr(0, layout.insertAt));
            if (layout.endBeforeInsert)
                out += layout.lineEnd;
            out += newLines;
            kept(body.substr(layout.insertAt));
        } else {
            kept(body);
            if (!body.empty()) {
                if (!layout.lastLineHasEnd)
                    out += layout.lineEnd;
                if (!layout.lastLineEmpty)
                    out += layout.lineEnd;
            }
            out += "[";
            out += kGameListSection;
            out += "]";
            out += layout.lineEnd;
            out += newLines;
        }
        out += tail;
        return out;
    };
    // Lines are only added, each after a line end, so the bytes that make a Windows-1252 file
    // no UTF-8 stay as they were and it still reads as Windows-1252 (unlike a replaced line).
    if (!windows1252)
        merge.bytes = assemble(added, false);
    else if (const std::optional<std::string> in1252 = utf8ToCp1252(added))
        merge.bytes = assemble(*in1252, false);
    else
        merge.bytes = assemble(added, true);
    return merge;
}

GameNameImport::GameNameImport(const std::string& emulator, std::string gameListPath,
                               std::chrono::milliseconds timeLimit)
    : emulator_(emulator.empty() || std::filesystem::path(emulator).is_absolute()
                    ? emulator
                    : joinPath(platform::currentDirectory(), emulator)),
      gameListPath_(std::move(gameListPath)), timeLimit_(timeLimit)
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

    const std::string bytes = platform::fileExists(gameListPath_)
                                  ? platform::readFile(gameListPath_, platform::kGameListFileLimit)
                                  : std::string();
    NameMerge merge = mergeGameNames(bytes, reader_);
    summary.counts = merge.counts;
    if (merge.counts.added == 0)
        return summary;
    // A file the program could not read back would lose every name in it.
    if (merge.bytes.size() > platform::kGameListFileLimit)
        throw NameImportError(visibleValue(fileNamePart(gameListPath_)) + " would grow past " +
                              std::to_string(platform::kGameListFileLimit / platform::kMebibyte) +
                              " MiB, more than the program reads; it was not changed");
    platform::replaceFile(gameListPath_, merge.bytes);
    summary.written = true;
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
                                  std::chrono::milliseconds timeLimit)
{
    GameNameImport import(emulator, gameListPath, timeLimit);
    import.readToEnd(progress, cancel);
    return import.finish();
}

} // namespace arcavio
