#include "games/setcheck.h"

#include "games/ziplisting.h"

#include <algorithm>
#include <thread>
#include <unordered_set>

#include "games/nameimportsummary.h"
#include "platform/childprocess.h"
#include "platform/filelock.h"
#include "platform/filesystem.h"
#include "text/boundedtext.h"
#include "text/nameorder.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kNameLimit = 64;
constexpr std::size_t kLineLimit = 4096;
constexpr std::size_t kMissesKept = 3;
constexpr std::size_t kMissLineLimit = 160;
constexpr std::size_t kErrorOutputKept = 8192;
constexpr std::size_t kErrorLinesShown = 3;
constexpr std::size_t kSmallestBatch = 200;
constexpr std::size_t kMostBatches = 4;
constexpr std::size_t kSetsShownMissing = 5;
// MAME's own time per set is well under a millisecond here; a slow machine gets ample room.
constexpr std::chrono::milliseconds kBatchTimeBase{60000};
constexpr std::chrono::milliseconds kBatchTimePerSet{20};

// Exit codes of a check that ran to its end: everything found, files missing, a set unknown.
bool isCheckExit(int code)
{
    return code == 0 || code == 2 || code == 5;
}

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view withoutBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<SetState> verdictOf(std::string_view words)
{
    if (words == "is good")
        return SetState::Good;
    if (words == "is best available")
        return SetState::BestAvailable;
    if (words == "is bad")
        return SetState::Bad;
    return std::nullopt;
}

bool isClosingLine(std::string_view line)
{
    // "12 romsets found, 10 were OK."
    const auto digits = [&](std::size_t at) {
        std::size_t end = at;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9')
            ++end;
        return end;
    };
    std::size_t at = digits(0);
    if (at == 0 || !line.substr(at).starts_with(" romsets found, "))
        return false;
    const std::size_t next = at + std::string_view(" romsets found, ").size();
    at = digits(next);
    return at > next && line.substr(at) == " were OK.";
}

std::string errorLines(std::string_view errorOutput)
{
    return firstLinesShown(errorOutput, kErrorLinesShown);
}

std::string quoted(const std::string& program)
{
    return "\"" + visibleValue(program, kQuotedValueLimit) + "\"";
}

} // namespace

bool isPlainSetName(std::string_view name)
{
    return !name.empty() && name.size() <= kNameLimit &&
           std::all_of(name.begin(), name.end(), isNameCharacter);
}

VerifyAnswerReader::VerifyAnswerReader(const std::vector<std::string>& asked) : verdicts_(asked.size())
{
    asked_.reserve(asked.size());
    for (std::size_t i = 0; i < asked.size(); ++i)
        asked_.emplace(asked[i], i);
}

void VerifyAnswerReader::feed(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!cut_) {
            const std::size_t room = kLineLimit - pending_.size();
            pending_.append(piece.substr(0, room));
            cut_ = piece.size() > room;
        }
        if (end == std::string_view::npos)
            return;
        takeLine(pending_);
        pending_.clear();
        cut_ = false;
        bytes.remove_prefix(end + 1);
    }
}

void VerifyAnswerReader::finish()
{
    if (!pending_.empty())
        takeLine(pending_);
    pending_.clear();
    cut_ = false;
}

void VerifyAnswerReader::takeLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (cut_) {
        ++oddLines_;
        return;
    }
    if (line.starts_with("romset ")) {
        std::string_view rest = line.substr(7);
        const std::size_t nameEnd = rest.find(' ');
        const std::string name(rest.substr(0, nameEnd));
        rest = nameEnd == std::string_view::npos ? std::string_view() : rest.substr(nameEnd + 1);
        if (rest.starts_with('[')) {
            const std::size_t close = rest.find(']');
            rest = close == std::string_view::npos ? std::string_view("?")
                                                   : withoutBlanks(rest.substr(close + 1));
        }
        const std::optional<SetState> state = verdictOf(rest);
        const auto found = asked_.find(name);
        if (!state || found == asked_.end()) {
            ++oddLines_;
            return;
        }
        SetVerdict& verdict = verdicts_[found->second];
        if (!verdict.said)
            ++said_;
        verdict.said = true;
        verdict.state = *state;
        lastSet_ = name;
        ++formatLines_;
        return;
    }
    if (isClosingLine(line)) {
        closed_ = true;
        ++formatLines_;
        return;
    }
    // "pacman      : pacman.6f (4096 bytes) - NOT FOUND"
    const std::size_t colon = line.find(" : ");
    const std::string_view name =
        colon == std::string_view::npos ? std::string_view() : withoutBlanks(line.substr(0, colon));
    const auto found = isPlainSetName(name) ? asked_.find(std::string(name)) : asked_.end();
    if (found == asked_.end()) {
        ++oddLines_;
        return;
    }
    SetVerdict& verdict = verdicts_[found->second];
    if (verdict.misses.size() < kMissesKept)
        verdict.misses.push_back(visibleValue(withoutBlanks(line.substr(colon + 3)), kMissLineLimit));
    ++verdict.missCount;
    ++formatLines_;
}

std::vector<RomSetFile> listRomSetFiles(const std::string& folders)
{
    std::vector<RomSetFile> files;
    std::unordered_set<std::string> taken;
    std::optional<InOutError> firstError;
    bool listed = false;
    for (const std::string& folder : splitPathList(folders)) {
        std::vector<std::string> names;
        try {
            names = listSets(folder, taken);
        } catch (const InOutError& error) {
            if (!firstError)
                firstError = error;
            continue;
        }
        listed = true;
        sortIgnoringCase(names);
        for (std::string& name : names) {
            std::string path = joinPath(folder, name);
            const std::optional<platform::FileIdentity> identity = platform::fileIdentity(path);
            if (!identity)
                continue;
            files.push_back({std::move(name), std::move(path), {identity->size, identity->modified}});
        }
    }
    if (!listed) {
        if (firstError)
            throw *firstError;
        throw InOutError("I/O error: no ROM folder to list");
    }
    return files;
}

SetCheck::SetCheck(SetCheckRequest request) : request_(std::move(request))
{
    if (request_.emulator.empty() || platform::directoryExists(request_.emulator) ||
        !platform::fileExists(request_.emulator))
        throw SetCheckError("The emulator " + quoted(request_.emulator) + " does not exist");
    files_ = listRomSetFiles(request_.romFolders);
    cache_ = SetCheckCache::read(request_.cachePath);
    results_.resize(files_.size());
    misses_.resize(files_.size());
    missCounts_.resize(files_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const RomSetFile& file = files_[i];
        const std::string set = removeExtension(file.name);
        if (!isPlainSetName(set)) {
            ++refused_;
            continue;
        }
        results_[i] = cache_.find(request_.version, file.path, file.stamp);
        if (results_[i])
            ++knownCount_;
        else
            names_.push_back(i);
    }
    batchSize_ = request_.batchSize != 0
                     ? request_.batchSize
                     : std::max(kSmallestBatch, (names_.size() + kMostBatches - 1) / kMostBatches);
}

SetCheck::~SetCheck() = default;

void SetCheck::startBatch()
{
    batchBegin_ = nextName_;
    const std::size_t end = std::min(names_.size(), nextName_ + batchSize_);
    std::vector<std::string> asked;
    platform::ChildRequest request;
    request.program = request_.emulator;
    request.arguments.emplace_back("-verifyroms");
    for (std::size_t i = batchBegin_; i < end; ++i) {
        asked.push_back(removeExtension(files_[names_[i]].name));
        request.arguments.push_back(asked.back());
    }
    request.arguments.emplace_back("-rompath");
    request.arguments.push_back(request_.romFolders);
    request.workingDirectory = directoryPart(request_.emulator);
    request.outputCap = platform::kProgramOutputLimit;
    request.errorCap = kErrorOutputKept;
    request.timeout = kBatchTimeBase + kBatchTimePerSet * static_cast<int>(asked.size());
    request.withoutDisplay = true;
    nextName_ = end;
    ++batchesStarted_;
    reader_ = std::make_unique<VerifyAnswerReader>(asked);
    child_ = std::make_unique<platform::ChildProcess>(std::move(request));
    if (child_->end() == platform::ChildEnd::NotStarted) {
        failure_ = "could not be started: " + child_->startProblem();
        child_.reset();
        reader_.reset();
    }
}

// What one run said becomes results; a run that did not end as a check does says nothing of
// the sets it did not name.
void SetCheck::endBatch()
{
    reader_->finish();
    bool complete = false;
    switch (child_->end()) {
    case platform::ChildEnd::Exited:
        if (!isCheckExit(child_->exitCode()))
            failure_ = "ended with exit code " + std::to_string(child_->exitCode());
        else if (child_->exitCode() == 0 && reader_->formatLines() == 0)
            failure_ = "gave no answer of a check (-verifyroms)";
        else
            complete = true;
        break;
    case platform::ChildEnd::Signalled:
        failure_ = "was ended by signal " + std::to_string(child_->signal());
        break;
    case platform::ChildEnd::TimedOut:
        failure_ = "did not finish in time";
        break;
    case platform::ChildEnd::OutputTooLarge:
        failure_ = "printed more than " +
                   std::to_string(platform::kProgramOutputLimit / platform::kMebibyte) + " MiB";
        break;
    case platform::ChildEnd::Cancelled:
        break;
    default:
        failure_ = "stopped before it ended";
    }
    oddLines_ += reader_->oddLines();
    const std::vector<SetVerdict>& verdicts = reader_->verdicts();
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const std::size_t file = names_[batchBegin_ + i];
        if (!verdicts[i].said && !complete)
            continue;
        results_[file] = verdicts[i].said ? verdicts[i].state : SetState::NotFound;
        if (verdicts[i].said && verdicts[i].state == SetState::Bad) {
            misses_[file] = verdicts[i].misses;
            missCounts_[file] = verdicts[i].missCount;
        }
        ++checked_;
    }
    if (failure_)
        failureSaid_ = errorLines(child_->errorOutput());
    child_.reset();
    reader_.reset();
}

bool SetCheck::poll(std::chrono::milliseconds wait)
{
    if (cancelled_ || failure_)
        return false;
    if (!child_) {
        if (nextName_ >= names_.size())
            return false;
        startBatch();
        if (failure_)
            return false;
    }
    const bool running = child_->poll(wait, arrived_);
    reader_->feed(arrived_);
    arrived_.clear();
    if (!running) {
        endBatch();
        return !failure_ && nextName_ < names_.size();
    }
    return true;
}

void SetCheck::cancel()
{
    if (cancelled_)
        return;
    cancelled_ = true;
    if (child_) {
        child_->cancel();
        endBatch();
    }
}

std::size_t SetCheck::checkedSoFar() const
{
    return checked_ + (reader_ ? reader_->said() : 0);
}

std::string SetCheck::currentSet() const
{
    if (reader_ && !reader_->lastSet().empty())
        return reader_->lastSet();
    if (batchBegin_ < names_.size())
        return removeExtension(files_[names_[batchBegin_]].name);
    return {};
}

void SetCheck::run(const std::function<void()>& progress, const std::atomic<bool>* cancel)
{
    constexpr auto kWait = std::chrono::milliseconds(20);
    constexpr auto kReportEvery = std::chrono::milliseconds(50);
    Clock::time_point lastReport = Clock::now();
    std::size_t reported = checkedSoFar();
    while (poll(kWait)) {
        if (cancel != nullptr && cancel->load()) {
            this->cancel();
            break;
        }
        if (progress && checkedSoFar() != reported && Clock::now() - lastReport >= kReportEvery) {
            reported = checkedSoFar();
            lastReport = Clock::now();
            progress();
        }
    }
    if (progress)
        progress();
}

SetCheckSummary SetCheck::finish()
{
    while (poll(std::chrono::hours(1))) {
    }
    SetCheckSummary summary;
    summary.cancelled = cancelled_;
    summary.sets = files_.size();
    summary.known = knownCount_;
    summary.checked = checked_;
    summary.refused = refused_;
    summary.unchecked = names_.size() - checked_;
    summary.oddLines = oddLines_;
    std::vector<SetCheckEntry> entries;
    const std::vector<std::string> folders = splitPathList(request_.romFolders);
    const std::unordered_set<std::string_view> listedFolders(folders.begin(), folders.end());
    std::unordered_set<std::string_view> listedPaths;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        listedPaths.insert(files_[i].path);
        if (!results_[i])
            continue;
        switch (*results_[i]) {
        case SetState::Good:
            ++summary.good;
            break;
        case SetState::BestAvailable:
            ++summary.bestAvailable;
            break;
        case SetState::Bad:
            ++summary.bad;
            if (missCounts_[i] > 0)
                summary.misses.push_back({removeExtension(files_[i].name), misses_[i], missCounts_[i]});
            break;
        case SetState::NotFound:
            ++summary.notFound;
            break;
        }
        entries.push_back({request_.version, files_[i].path, files_[i].stamp, *results_[i]});
    }
    if (!request_.cachePath.empty()) {
        try {
            platform::createDirectories(directoryPart(request_.cachePath));
            const platform::FileLock lock(request_.cachePath);
            // Read again under the lock: what another check wrote since it was read stays.
            const SetCheckCache current = SetCheckCache::read(request_.cachePath);
            // This version's entries of the checked folders are all above; a zip no longer in a
            // checked folder goes. Other folders keep what was found there.
            std::vector<bool> keep(current.size(), true);
            for (std::size_t i = 0; i < current.size(); ++i) {
                const SetCheckEntry old = current.at(i);
                if (listedFolders.contains(directoryPart(old.path)) &&
                    (old.version == request_.version || !listedPaths.contains(current.pathAt(i))))
                    keep[i] = false;
            }
            platform::replaceFile(request_.cachePath, current.serialize(entries, keep));
            summary.cacheWritten = true;
        } catch (const Error&) {
            // The cache only saves time: a check whose results cannot be kept still tells them.
        }
    }
    if (failure_ && !cancelled_) {
        std::string message =
            "The emulator " + quoted(request_.emulator) + " " + *failure_ + " while checking sets";
        if (!currentSet().empty())
            message += " (near " + visibleValue(currentSet()) + ")";
        message += "; the " + groupedCount(checked_) + " sets checked before are kept.";
        if (!failureSaid_.empty())
            message += "\nIt said:" + failureSaid_;
        throw SetCheckError(message);
    }
    return summary;
}

SetCheckSummary checkSets(const SetCheckRequest& request,
                          const std::function<void(const SetCheck&)>& progress,
                          const std::atomic<bool>* cancel)
{
    SetCheck check(request);
    check.run(progress ? std::function<void()>([&] { progress(check); }) : std::function<void()>(), cancel);
    return check.finish();
}

std::string setCheckSummaryText(const SetCheckSummary& summary)
{
    std::string text;
    if (summary.cancelled)
        text += "The check was cancelled; what was checked is kept.\n";
    text += groupedCount(summary.sets) + " sets in the ROM folders: " + groupedCount(summary.good) +
            " good, " + groupedCount(summary.bestAvailable) + " best available, " +
            groupedCount(summary.bad) + " bad, " + groupedCount(summary.notFound) + " not found.";
    if (summary.known > 0)
        text += "\n" + groupedCount(summary.known) + " of them were known from an earlier check.";
    if (summary.refused > 0)
        text += "\n" + groupedCount(summary.refused) + " zips have names the emulator was not asked about.";
    if (summary.unchecked > 0)
        text += "\n" + groupedCount(summary.unchecked) + " sets were not checked.";
    const std::size_t shown = std::min(summary.misses.size(), kSetsShownMissing);
    for (std::size_t i = 0; i < shown; ++i) {
        const SetMisses& set = summary.misses[i];
        text += "\n" + set.set + " misses:";
        for (const std::string& line : set.lines)
            text += "\n    " + line;
        if (set.count > set.lines.size())
            text += "\n    and " + groupedCount(set.count - set.lines.size()) + " more";
    }
    if (summary.misses.size() > shown)
        text += "\nand " + groupedCount(summary.misses.size() - shown) + " more bad sets.";
    return text;
}

} // namespace arcavio
