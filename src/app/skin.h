#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "components/buttonstate.h"

namespace arcavio {

// A colour as skin files give it: 00BBGGRR for a fixed colour; from 80000000 on a system colour
// whose index is in the low byte; 1FFFFFFF for no colour.
using SkinColour = std::uint32_t;
inline constexpr SkinColour kNoColour = 0x1FFFFFFF;
inline bool isSystemColour(SkinColour colour)
{
    return (colour & 0x80000000u) != 0;
}

// A colour name (clNavy, clBtnFace, ...) compared without regard to case, or an integer with
// "$" or "0x" for hexadecimal. Throws ConvertError for anything else.
SkinColour parseSkinColour(std::string_view text);

// What the skin step changes in the main window; the window implements it.
class SkinTarget {
  public:
    virtual ~SkinTarget() = default;
    // button: 0 to 5 for h142 to h147. Throws FileOpenError or "Bitmap image is not valid".
    virtual void loadButtonPicture(int button, ButtonState state, const std::string& path) = 0;
    virtual void loadBackground(const std::string& path) = 0;
    virtual void setButtonTop(int button, int top) = 0;
    virtual void setButtonLeft(int button, int left) = 0;
    virtual void setListTop(int value) = 0;
    virtual void setListLeft(int value) = 0;
    virtual void setListWidth(int value) = 0;
    virtual void setListHeight(int value) = 0;
    virtual void setListColour(SkinColour colour) = 0;
    virtual void setListFontColour(SkinColour colour) = 0;
    virtual void setWindowOuterWidth(int value) = 0;
    virtual void setWindowOuterHeight(int value) = 0;
    virtual void setSkinAboutText(const std::string& text) = 0;
    virtual void setImageTop(int value) = 0;
    virtual void setImageLeft(int value) = 0;
    virtual void setImageWidth(int value) = 0;
    virtual void setImageHeight(int value) = 0;
    virtual void setRegionRefresh(bool on) = 0;
    virtual void centreOnScreen() = 0;
};

// Skin geometry is clamped to what a screen can show: sizes (the window's outer width and
// height, the list's and the picture's) to 0..kSkinSizeLimit, positions to
// -kSkinPositionLimit..kSkinPositionLimit. No skin value can then make the window reserve
// memory without bound or overflow the arithmetic of a layout (a position plus a size, a
// size less its frame). 8192 covers an 8K screen; a full window that large still needs only
// 256 MiB of pixels.
inline constexpr int kSkinSizeLimit = 8192;
inline constexpr int kSkinPositionLimit = 8192;
int skinSize(std::int32_t value);
int skinPosition(std::int32_t value);

// The skin folder of a data directory: "skin", whatever its letter case (findEntryIgnoringCase).
std::string skinDirectoryIn(const std::string& dataDirectory);

// The skin step: with no skin directory only the built-in About text is set. Otherwise the
// nineteen bitmaps are loaded, then every key of skin.ini is read, converted and applied in
// turn (geometry clamped as above), and the window is centred. The first error ends the step, what came
// before it applied. The files are found whatever their letter case, as the skin folder is.
void applySkin(const std::string& skinDirectory, SkinTarget& target);

} // namespace arcavio
