#include "games/nameimport.h"

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "games/gamelist.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/encoding.h"
#include "text/inifile.h"
#include "text/keyedhash.h"
#include "text/paths.h"
#include "text/visibletext.h"

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

// The names met so far, without regard to case. Keyed per process like the game-list index,
// so no list can make it slow.
class NameSet {
  public:
    explicit NameSet(std::size_t most)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * most)
            capacity *= 2;
        slots_.assign(capacity, std::string_view());
        used_.assign(capacity, false);
    }

    // False when the name was there already.
    bool insert(std::string_view name)
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = sipHash(name, processHashKey(), {}, true) & mask;
        for (; used_[slot]; slot = (slot + 1) & mask)
            if (sameIgnoringCase(slots_[slot], name))
                return false;
        slots_[slot] = name;
        used_[slot] = true;
        return true;
    }

  private:
    std::vector<std::string_view> slots_;
    std::vector<bool> used_;
};

// Where the new lines go in the file's text (without byte-order mark and what follows a zero
// byte), by the rules "Add a new Game" follows for a key it does not find.
struct Layout {
    std::string lineEnd = "\r\n"; // the file's own: that of its first line
    bool sectionFound = false;
    std::size_t insertAt = 0;    // with a section: just after the end of its last line
    bool endBeforeInsert = false; // that line has no end of its own yet
    bool lastLineHasEnd = true;   // without a section: about the file's last line
    bool lastLineEmpty = true;
};

Layout layoutOf(std::string_view body)
{
    Layout layout;
    bool endSeen = false;
    for (std::size_t start = 0; start < body.size();) {
        std::size_t end = start;
        while (end < body.size() && body[end] != '\r' && body[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < body.size() && body[next] == '\r')
            ++next;
        if (next < body.size() && body[next] == '\n')
            ++next;
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
        if (layout.sectionFound && !text.empty()) {
            layout.insertAt = next;
            layout.endBeforeInsert = next == end;
        }
    }
    return layout;
}

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

void SetListReader::takeLine(std::string_view line)
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
    if (isValidUtf8(set->description))
        text_ += set->description;
    else
        text_ += cp1252ToUtf8(set->description);
    entry.descriptionLength = text_.size() - entry.description;
    // A zero byte would end the file's readable text at this line.
    for (std::size_t i = entry.description; i < text_.size(); ++i)
        if (text_[i] == '\0')
            text_[i] = ' ';
    sets_.push_back(entry);
}

void SetListReader::feed(std::string_view bytes)
{
    std::size_t at = 0;
    if (afterCarriageReturn_ && !bytes.empty()) {
        afterCarriageReturn_ = false;
        if (bytes.front() == '\n')
            at = 1;
    }
    while (at < bytes.size()) {
        const char* start = bytes.data() + at;
        const std::size_t left = bytes.size() - at;
        const auto* lineFeed = static_cast<const char*>(std::memchr(start, '\n', left));
        std::size_t length = lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - start) : left;
        const auto* carriageReturn = static_cast<const char*>(std::memchr(start, '\r', length));
        if (carriageReturn != nullptr)
            length = static_cast<std::size_t>(carriageReturn - start);
        if (lineFeed == nullptr && carriageReturn == nullptr) {
            pending_.append(start, left);
            return;
        }
        if (pending_.empty()) {
            takeLine(std::string_view(start, length));
        } else {
            pending_.append(start, length);
            takeLine(pending_);
            pending_.clear();
        }
        at += length;
        if (bytes[at] == '\r') {
            ++at;
            if (at == bytes.size())
                afterCarriageReturn_ = true;
            else if (bytes[at] == '\n')
                ++at;
        } else {
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

ListedSet SetListReader::at(std::size_t index) const
{
    const Entry& entry = sets_.at(index);
    const std::string_view text = text_;
    return {text.substr(entry.name, entry.nameLength), text.substr(entry.description, entry.descriptionLength)};
}

NameMerge mergeGameNames(std::string_view fileBytes, const SetListReader& sets)
{
    NameMerge merge;
    // What follows a zero byte is never read; it is kept behind the new text.
    const std::size_t zero = fileBytes.find('\0');
    const std::string_view tail = zero == std::string_view::npos ? std::string_view() : fileBytes.substr(zero);
    std::string_view body = fileBytes.substr(0, zero);
    const bool byteOrderMark = body.starts_with(kByteOrderMark);
    if (byteOrderMark)
        body.remove_prefix(kByteOrderMark.size());
    const Layout layout = layoutOf(body);

    const GameListIndex present = GameListIndex::fromBytes(fileBytes);
    NameSet seen(sets.size());
    std::string added;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const ListedSet set = sets.at(i);
        if (gameListKeyProblem(set.name)) {
            ++merge.counts.refused;
        } else if (!seen.insert(set.name)) {
            ++merge.counts.repeated;
        } else if (present.find(set.name)) {
            ++merge.counts.kept;
        } else {
            added += set.name;
            added += '=';
            added += set.description;
            added += layout.lineEnd;
            ++merge.counts.added;
        }
    }
    if (added.empty()) {
        merge.bytes = std::string(fileBytes);
        return merge;
    }

    const bool windows1252 = !isValidUtf8(body);
    // toUtf8: a Windows-1252 file becomes UTF-8 as a whole.
    const auto assemble = [&](std::string_view newLines, bool toUtf8) {
        const auto kept = [&](std::string& out, std::string_view part) {
            if (toUtf8)
                out += cp1252ToUtf8(part);
            else
                out += part;
        };
        std::string text;
        text.reserve(body.size() + body.size() / 8 + newLines.size() + 32);
        if (layout.sectionFound) {
            kept(text, body.substr(0, layout.insertAt));
            if (layout.endBeforeInsert)
                text += layout.lineEnd;
            text += newLines;
            kept(text, body.substr(layout.insertAt));
        } else {
            kept(text, body);
            if (!body.empty()) {
                if (!layout.lastLineHasEnd)
                    text += layout.lineEnd;
                if (!layout.lastLineEmpty)
                    text += layout.lineEnd;
            }
            text += "[";
            text += kGameListSection;
            text += "]";
            text += layout.lineEnd;
            text += newLines;
        }
        return text;
    };
    std::string edited;
    if (!windows1252) {
        edited = assemble(added, false);
    } else if (const std::optional<std::string> in1252 = utf8ToCp1252(added)) {
        edited = assemble(*in1252, false);
        // Text that now happens to be UTF-8 would read differently: it becomes UTF-8 instead.
        if (isValidUtf8(edited))
            edited = assemble(added, true);
    } else {
        edited = assemble(added, true);
    }

    merge.bytes.reserve(kByteOrderMark.size() + edited.size() + tail.size());
    if (byteOrderMark)
        merge.bytes += kByteOrderMark;
    merge.bytes += edited;
    merge.bytes += tail;
    return merge;
}

GameNameImport::GameNameImport(const std::string& emulator, std::string gameListPath)
    : emulator_(emulator.empty() || std::filesystem::path(emulator).is_absolute()
                    ? emulator
                    : joinPath(platform::currentDirectory(), emulator)),
      gameListPath_(std::move(gameListPath))
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
    std::string message = "The emulator " + quotedProgram(emulator_) + " " + what + "; gamelist.ini was not changed.";
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
        fail("printed more than " + std::to_string(platform::kProgramOutputLimit / platform::kMebibyte) + " MiB");
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
        throw NameImportError("gamelist.ini would grow past " +
                              std::to_string(platform::kGameListFileLimit / platform::kMebibyte) +
                              " MiB, more than the program reads; it was not changed");
    platform::replaceFile(gameListPath_, merge.bytes);
    summary.written = true;
    return summary;
}

NameImportSummary importGameNames(const std::string& emulator, const std::string& gameListPath,
                                  const NameImportProgress& progress, const std::atomic<bool>* cancel)
{
    constexpr auto kStep = std::chrono::milliseconds(50);
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    GameNameImport import(emulator, gameListPath);
    std::size_t reported = 0;
    Clock::time_point lastReport = Clock::now();
    while (import.poll(kStep)) {
        if (cancelled())
            break;
        if (progress && import.setsRead() != reported && Clock::now() - lastReport >= kStep) {
            reported = import.setsRead();
            lastReport = Clock::now();
            progress(reported);
        }
    }
    // A cancel that comes as the emulator ends still writes nothing.
    if (cancelled()) {
        import.cancel();
        return import.finish();
    }
    if (progress && import.setsRead() != reported)
        progress(import.setsRead());
    return import.finish();
}

} // namespace arcavio
