#pragma once

#include "components/fbrowse.h"

namespace arcavio::test {

// Answers the folder browser from a test for the lifetime of the object.
class ChooserSwap {
  public:
    explicit ChooserSwap(TFolderBrowse::Chooser fake) : previous_(TFolderBrowse::setChooser(std::move(fake)))
    {
    }
    ~ChooserSwap() { TFolderBrowse::setChooser(previous_); }
    ChooserSwap(const ChooserSwap&) = delete;
    ChooserSwap& operator=(const ChooserSwap&) = delete;

  private:
    TFolderBrowse::Chooser previous_;
};

} // namespace arcavio::test
