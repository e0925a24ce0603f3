#pragma once

#include "components/folderbrowser.h"

namespace arcavio::test {

// Answers the folder browser from a test for the lifetime of the object.
class ChooserSwap {
  public:
    explicit ChooserSwap(FolderBrowser::Chooser fake) : previous_(FolderBrowser::setChooser(std::move(fake)))
    {
    }
    ~ChooserSwap() { FolderBrowser::setChooser(previous_); }
    ChooserSwap(const ChooserSwap&) = delete;
    ChooserSwap& operator=(const ChooserSwap&) = delete;

  private:
    FolderBrowser::Chooser previous_;
};

} // namespace arcavio::test
