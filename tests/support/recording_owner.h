#pragma once

#include <string>
#include <vector>

#include "components/processlauncher.h"

namespace arcavio::test {

using Log = std::vector<std::string>;

// The launcher's owner window, writing when it is hidden and shown into a log.
class RecordingOwner final : public OwnerWindow {
  public:
    explicit RecordingOwner(Log& log) : events(log) {}
    void hide() override { events.push_back("hide"); }
    void show() override { events.push_back("show"); }
    Log& events;
};

} // namespace arcavio::test
