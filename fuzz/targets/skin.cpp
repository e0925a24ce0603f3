// Skins: colour names and numbers, and the whole skin step over a skin folder whose skin.ini is
// the input, against a main window that only records what it is told.
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "app/skin.h"
#include "fuzzing.h"
#include "text/errors.h"
#include "text/integers.h"
#include "text/linelist.h"

using namespace arcavio;

namespace {

class RecordingTarget final : public SkinTarget {
  public:
    int calls = 0;
    int centred = -1;
    void loadButtonPicture(int button, ButtonState, const std::string& path) override
    {
        FUZZ_CHECK(button >= 0 && button < 6 && !path.empty());
        ++calls;
    }
    void loadBackground(const std::string& path) override
    {
        FUZZ_CHECK(!path.empty());
        ++calls;
    }
    void setButtonTop(int button, int) override
    {
        FUZZ_CHECK(button >= 0 && button < 6);
        ++calls;
    }
    void setButtonLeft(int button, int) override
    {
        FUZZ_CHECK(button >= 0 && button < 6);
        ++calls;
    }
    void setListTop(int) override { ++calls; }
    void setListLeft(int) override { ++calls; }
    void setListWidth(int) override { ++calls; }
    void setListHeight(int) override { ++calls; }
    void setListColour(SkinColour) override { ++calls; }
    void setListFontColour(SkinColour) override { ++calls; }
    void setWindowOuterWidth(int) override { ++calls; }
    void setWindowOuterHeight(int) override { ++calls; }
    void setSkinAboutText(const std::string&) override { ++calls; }
    void setImageTop(int) override { ++calls; }
    void setImageLeft(int) override { ++calls; }
    void setImageWidth(int) override { ++calls; }
    void setImageHeight(int) override { ++calls; }
    void setRegionRefresh(bool) override { ++calls; }
    void centreOnScreen() override { centred = calls++; }
};

// One skin folder for the whole run, removed at exit.
struct SkinFolder {
    std::string path;
    SkinFolder()
    {
        char pattern[] = "/tmp/arcavio-fuzz-skin-XXXXXX";
        const char* made = mkdtemp(pattern);
        FUZZ_CHECK(made != nullptr);
        path = made;
    }
    ~SkinFolder()
    {
        std::remove((path + "/skin.ini").c_str());
        rmdir(path.c_str());
    }
};

const std::string& skinFolder()
{
    static const SkinFolder folder;
    return folder.path;
}

} // namespace

ARCAVIO_FUZZ_TARGET
{
    const auto parts = fuzz::fields(input, 2);
    // A colour is a name or else a number; no name reads as a number.
    std::optional<SkinColour> colour;
    std::optional<std::int32_t> number;
    try {
        colour = parseSkinColour(parts[0]);
    } catch (const ConvertError&) {
    }
    try {
        number = parseIntegerOrHex(parts[0]);
    } catch (const ConvertError&) {
    }
    if (number)
        FUZZ_CHECK(colour == static_cast<SkinColour>(*number));
    if (!colour)
        FUZZ_CHECK(!number);

    {
        std::ofstream ini(skinFolder() + "/skin.ini", std::ios::binary | std::ios::trunc);
        ini.write(parts[1].data(), static_cast<std::streamsize>(parts[1].size()));
    }
    RecordingTarget target;
    try {
        applySkin(skinFolder(), target);
        // Everything was applied, the centring last.
        FUZZ_CHECK(target.centred == target.calls - 1);
    } catch (const ConvertError&) {
        FUZZ_CHECK(target.centred < 0);
    }
}
