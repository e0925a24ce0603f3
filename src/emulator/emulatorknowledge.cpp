#include "emulator/emulatorknowledge.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

#include "emulator/mameoptions.h"
#include "platform/childprocess.h"
#include "platform/filesystem.h"
#include "platform/process.h"
#include "text/boundedtext.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kAnswerLimit = std::size_t{1} << 20;
constexpr std::size_t kVersionLimit = 32;
// No wrapper script is longer than this; a larger file is no wrapper and is not read.
constexpr std::size_t kWrapperLimit = 4096;
constexpr std::string_view kWrapperStart = "#!/bin/sh\nexec '";
constexpr std::string_view kWrapperEnd = "' -inipath . \"$@\"\n";

platform::ChildRequest question(const std::string& program, std::vector<std::string> arguments,
                                std::string workingDirectory, std::chrono::milliseconds timeout)
{
    platform::ChildRequest request;
    request.program = program;
    request.arguments = std::move(arguments);
    request.workingDirectory = std::move(workingDirectory);
    request.outputCap = kAnswerLimit;
    request.timeout = timeout;
    request.withoutDisplay = true;
    return request;
}

void awaitEnd(platform::ChildProcess& child, std::string& output)
{
    while (child.poll(std::chrono::milliseconds(50), output)) {
    }
}

bool answered(const platform::ChildProcess& child)
{
    return child.end() == platform::ChildEnd::Exited && child.exitCode() == 0;
}

std::string versionOf(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    text.remove_prefix(first);
    const std::string_view word = text.substr(0, text.find_first_of(" \t\r\n"));
    for (const char c : word)
        if (!((c >= '0' && c <= '9') || c == '.'))
            return {};
    return word.size() <= kVersionLimit ? std::string(word) : std::string();
}

struct FileKey {
    std::string path;
    platform::FileIdentity identity;
    bool operator<(const FileKey& other) const
    {
        return std::tie(path, identity.size, identity.modified, identity.inode, identity.device) <
               std::tie(other.path, other.identity.size, other.identity.modified, other.identity.inode,
                        other.identity.device);
    }
};

} // namespace

const std::string& EmulatorKnowledge::version() const
{
    std::call_once(versionAsked_, [this] {
        platform::ChildProcess child(
            question(program, {"-version"}, directoryPart(program), kEmulatorAnswerTime));
        std::string text;
        awaitEnd(child, text);
        if (answered(child))
            version_ = versionOf(text);
    });
    return version_;
}

std::string EmulatorKnowledge::name() const
{
    return version().empty() ? std::string("MAME") : "MAME " + version();
}

std::shared_ptr<const EmulatorKnowledge> askEmulator(const std::string& program,
                                                     std::chrono::milliseconds timeout)
{
    if (program.empty() || !platform::isExecutableFile(program))
        return nullptr;
    platform::ChildProcess options(
        question(program, {"-showconfig", "-noreadconfig"}, directoryPart(program), timeout));
    std::string optionText;
    awaitEnd(options, optionText);
    if (!answered(options))
        return nullptr;
    auto knowledge = std::make_shared<EmulatorKnowledge>();
    knowledge->program = program;
    knowledge->defaults = OptionList::parse(optionText);
    if (!holdsEveryMameOption(knowledge->defaults))
        return nullptr;
    return knowledge;
}

std::shared_ptr<const EmulatorKnowledge> knownEmulator(const std::string& program)
{
    static std::mutex mutex;
    static std::map<FileKey, std::shared_ptr<const EmulatorKnowledge>> known;
    const std::optional<platform::FileIdentity> identity = platform::fileIdentity(program);
    if (!identity)
        return nullptr;
    const FileKey key{program, *identity};
    {
        const std::lock_guard lock(mutex);
        if (const auto found = known.find(key); found != known.end())
            return found->second;
    }
    // Asked outside the lock: another program's question need not wait for this one.
    std::shared_ptr<const EmulatorKnowledge> answer = askEmulator(program);
    const std::lock_guard lock(mutex);
    return known.emplace(key, std::move(answer)).first->second;
}

std::optional<OptionList> emulatorSettings(const std::string& program, const std::string& workingDirectory,
                                           const std::vector<std::string>& arguments,
                                           std::chrono::milliseconds timeout)
{
    std::vector<std::string> words = arguments;
    words.emplace_back("-showconfig");
    platform::ChildProcess child(question(program, std::move(words), workingDirectory, timeout));
    std::string text;
    awaitEnd(child, text);
    if (!answered(child))
        return std::nullopt;
    return OptionList::parse(text);
}

std::vector<std::string> mamePathList(std::string_view value)
{
    std::vector<std::string> folders;
    while (true) {
        const std::size_t end = value.find(';');
        const std::string_view element = value.substr(0, end);
        std::string folder;
        for (std::size_t i = 0; i < element.size();) {
            std::size_t nameEnd = i + 1;
            while (
                element[i] == '$' && nameEnd < element.size() &&
                (std::isalnum(static_cast<unsigned char>(element[nameEnd])) != 0 || element[nameEnd] == '_'))
                ++nameEnd;
            if (element[i] == '$' && nameEnd > i + 1) {
                const char* variable =
                    std::getenv(std::string(element.substr(i + 1, nameEnd - i - 1)).c_str());
                folder += variable != nullptr ? variable : "";
                i = nameEnd;
            } else {
                folder += element[i++];
            }
        }
        if (!folder.empty() && !breaksLine(folder))
            folders.push_back(std::move(folder));
        if (end == std::string_view::npos)
            break;
        value.remove_prefix(end + 1);
    }
    return folders;
}

std::string wrappedMame(const std::string& program)
{
    const std::optional<platform::FileIdentity> identity = platform::fileIdentity(program);
    if (!identity || identity->size > kWrapperLimit)
        return {};
    std::string text;
    try {
        text = platform::readFile(program, kWrapperLimit);
    } catch (const Error&) {
        return {};
    }
    if (!text.starts_with(kWrapperStart) || !text.ends_with(kWrapperEnd))
        return {};
    std::string mame;
    const std::string_view quoted = std::string_view(text).substr(
        kWrapperStart.size(), text.size() - kWrapperStart.size() - kWrapperEnd.size());
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        if (quoted.substr(i).starts_with("'\\''")) {
            mame += '\'';
            i += 3;
        } else if (quoted[i] == '\'' || quoted[i] == '\n') {
            return {};
        } else {
            mame += quoted[i];
        }
    }
    return mame.starts_with('/') && text == mameWrapperScript(mame) ? mame : std::string();
}

std::string mameWrapperScript(std::string_view mame)
{
    if (breaksLine(mame))
        throw RefusedValueError("The emulator's path " + visibleValue(mame) +
                                " cannot go into a script line");
    std::string quoted;
    for (const char c : mame)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return std::string(kWrapperStart) + quoted + std::string(kWrapperEnd);
}

} // namespace arcavio
