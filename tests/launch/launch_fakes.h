#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/processlauncher.h"
#include "launch/launch.h"
#include "platform/filesystem.h"
#include "support/recording_owner.h"

namespace arcavio::test {

// The system's processes, with their start and end written into a log.
class ObservedProcesses final : public platform::ProcessServices {
  public:
    explicit ObservedProcesses(Log& log) : events(log) {}

    std::unique_ptr<platform::StartedProcess> createProcess(const platform::ProcessRequest& request) override
    {
        auto process = platform::systemProcesses().createProcess(request);
        events.push_back(process ? "started" : "failed");
        if (!process)
            return nullptr;
        return std::make_unique<Observed>(std::move(process), events);
    }
    std::string findExecutable(const std::string& file, const std::string& directory) override
    {
        return platform::systemProcesses().findExecutable(file, directory);
    }
    std::optional<std::string> readClassesRootValue(const std::string& key) override
    {
        return platform::systemProcesses().readClassesRootValue(key);
    }

    Log& events;

  private:
    class Observed final : public platform::StartedProcess {
      public:
        Observed(std::unique_ptr<platform::StartedProcess> process, Log& log)
            : process_(std::move(process)), events_(log)
        {
        }
        void wait() override
        {
            process_->wait();
            events_.push_back("ended");
        }
        std::uint32_t exitCode() override { return process_->exitCode(); }
        std::string errorTail() override { return process_->errorTail(); }

      private:
        std::unique_ptr<platform::StartedProcess> process_;
        Log& events_;
    };
};

class FakeExecutableDialog final : public ExecutableDialog {
  public:
    std::optional<std::string> chooseExecutable() override
    {
        ++shows;
        return answer;
    }
    std::optional<std::string> answer;
    int shows = 0;
};

} // namespace arcavio::test
