#pragma once

#include <cstddef>
#include <string>

#include "platform/process.h"

namespace arcavio {

// How the started program's first window is shown, under the launcher's own names.
enum class LaunchVisibility {
    HIDE,
    SHOWNORMAL,
    NORMAL,
    SHOWMINIMIZED,
    SHOWMAXIMIZED,
    MAXIMIZE,
    SHOWNOACTIVATE,
    SHOW,
    MINIMIZE,
    SHOWMINNOACTIVE,
    SHOWNA,
    RESTORE,
    SHOWDEFAULT,
    MAX,
};

// The system's show-window code of a visibility.
int showCode(LaunchVisibility visibility);

// The window that owns a launcher and steps aside while the started program runs.
class OwnerWindow {
  public:
    virtual ~OwnerWindow() = default;
    virtual void hide() = 0;
    virtual void show() = 0;
};

// Starts another program, hides its owner while the program runs and waits for its end. No
// widget, so no objectName: the main window's Executor.
class ProcessLauncher {
  public:
    explicit ProcessLauncher(OwnerWindow* owner = nullptr,
                             platform::ProcessServices& services = platform::systemProcesses())
        : owner_(owner), services_(&services)
    {
    }

    LaunchVisibility Visibility = LaunchVisibility::NORMAL;
    bool HideOwner = true;
    bool Wait = true;
    std::string FileName;
    std::string LaunchType;
    std::string LaunchOperation;
    std::string CommandLine;
    // Above 0, with Wait on: the last bytes the program writes on its standard error that are
    // kept for errorOutput(); it still reaches ours as it is written.
    std::size_t KeepErrorOutput = 0;

    // 1 when nothing could be started; otherwise the program's exit code with Wait on and
    // 259 (still active) without it; 0 after a start through a "%" registered command.
    // Shows no message.
    int Execute();
    // What the last Execute() kept of the program's standard error (KeepErrorOutput).
    const std::string& errorOutput() const { return errorOutput_; }

    void setOwner(OwnerWindow* owner) { owner_ = owner; }
    OwnerWindow* owner() const { return owner_; }

  private:
    OwnerWindow* owner_;
    platform::ProcessServices* services_;
    std::string errorOutput_;
};

} // namespace arcavio
