#include "components/processlauncher.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "platform/filesystem.h"

namespace arcavio {

int showCode(LaunchVisibility visibility)
{
    static constexpr std::array<int, 14> codes = {0, 1, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 10};
    return codes[static_cast<std::size_t>(visibility)];
}

namespace {

using platform::ProcessRequest;
using platform::StartedProcess;
using Started = std::unique_ptr<StartedProcess>;

struct Attempts {
    platform::ProcessServices& services;
    std::string directory;
    int show;
    std::size_t errorTail;

    Started operator()(std::optional<std::string> program, std::optional<std::string> commandLine) const
    {
        return services.createProcess(
            {std::move(program), std::move(commandLine), directory, show, errorTail});
    }
};

// The first P - n characters of a text, none when that count is not positive.
std::string leading(const std::string& text, std::size_t percent, std::size_t drop)
{
    return percent + 1 > drop ? text.substr(0, percent + 1 - drop) : std::string();
}

} // namespace

int ProcessLauncher::Execute()
{
    const std::string verb = LaunchOperation.empty() ? "open" : LaunchOperation;
    int result = 0;
    const std::string commandBuffer = " " + CommandLine;
    errorOutput_.clear();
    const Attempts attempt{*services_, platform::currentDirectory(), showCode(Visibility),
                           Wait ? KeepErrorOutput : 0};
    const std::string associated = services_->findExecutable(FileName, attempt.directory);
    const auto none = std::nullopt;

    Started process;
    if (!FileName.empty() && LaunchType.empty()) {
        // An empty association would turn the first argument into the program to run, so the
        // attempts through it need one.
        if (!CommandLine.empty()) {
            process = attempt(FileName, commandBuffer);
            if (!process)
                process = attempt(associated, commandBuffer);
            if (!process && !associated.empty())
                process = attempt(none, associated + " " + commandBuffer);
        } else {
            process = attempt(FileName, none);
            if (!process)
                process = attempt(none, FileName);
            if (!process && !associated.empty())
                process = attempt(none, associated + " " + FileName);
        }
        if (!process)
            result = 1;
    } else if (FileName.empty() && LaunchType.empty()) {
        process = attempt(associated, none);
        if (!process)
            result = 1;
    } else if (FileName.empty()) {
        const std::optional<std::string> className = services_->readClassesRootValue("\\" + LaunchType);
        if (!className)
            return 1;
        std::optional<std::string> command = std::string();
        if (!className->empty())
            command = services_->readClassesRootValue("\\" + *className + "\\shell\\" + verb + "\\command");
        if (!command)
            return 1;
        const std::string& templ = *command;
        if (const std::size_t percent = templ.find('%'); percent != std::string::npos) {
            const std::string joined = leading(templ, percent, 2) + " " + CommandLine;
            // Never waited for, so nothing of it is kept.
            const Attempts unwaited{attempt.services, attempt.directory, attempt.show, 0};
            process = unwaited(leading(templ, percent, 3), commandBuffer);
            if (!process)
                process = unwaited(joined, none);
            if (!process)
                process = unwaited(none, joined);
            return process ? 0 : 1;
        }
        if (templ.size() > 1 && templ.front() == '"') {
            const std::size_t close = templ.find('"', 1);
            const std::string program =
                templ.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            if (close != std::string::npos) {
                const std::size_t rest = templ.find_first_not_of(' ', close + 1);
                if (rest != std::string::npos)
                    CommandLine = templ.substr(rest) + " " + CommandLine;
            }
            process = attempt(program, CommandLine);
            if (!process)
                result = 1;
        } else {
            attempt(std::string(), CommandLine);
            return 1;
        }
    }
    // Both a program and a file type: the system never asks for that, and nothing is started.
    else {
        return 1;
    }

    if (result == 0 && process) {
        if (HideOwner && owner_ != nullptr)
            owner_->hide();
        if (Wait)
            process->wait();
        result = static_cast<int>(process->exitCode());
        if (attempt.errorTail > 0) {
            errorOutput_ = process->errorTail();
            const std::size_t keep = std::min(attempt.errorTail, platform::kMaxErrorTail);
            if (errorOutput_.size() > keep)
                errorOutput_.erase(0, errorOutput_.size() - keep);
        }
        process.reset();
        if (HideOwner && owner_ != nullptr)
            owner_->show();
    }
    return result;
}

} // namespace arcavio
