#pragma once

#include <array>
#include <string>

#include "app/skin.h"

class QLabel;
class QListWidget;

namespace arcavio {

class RegionButton;
class WindowPlacement;

// The skin step's hands on the main window: it moves, sizes, colours and paints the controls a
// skin reaches, and keeps the two settings the window reads back.
class MainWindowSkin final : public SkinTarget {
  public:
    struct Controls {
        std::array<RegionButton*, 6> commandButtons; // h142 to h147
        QListWidget* configurationView;              // lista
        QLabel* preview;                             // Image1
        QLabel* background;                          // back
        WindowPlacement* placement;
    };

    explicit MainWindowSkin(const Controls& controls) : controls_(controls) {}

    const std::string& aboutText() const { return aboutText_; }
    bool regionRefresh() const { return regionRefresh_; }

    void loadButtonPicture(int button, ButtonState state, const std::string& path) override;
    void loadBackground(const std::string& path) override;
    void setButtonTop(int button, int top) override;
    void setButtonLeft(int button, int left) override;
    void setListTop(int value) override;
    void setListLeft(int value) override;
    void setListWidth(int value) override;
    void setListHeight(int value) override;
    void setListColour(SkinColour colour) override;
    void setListFontColour(SkinColour colour) override;
    void setWindowOuterWidth(int value) override;
    void setWindowOuterHeight(int value) override;
    void setSkinAboutText(const std::string& text) override;
    void setImageTop(int value) override;
    void setImageLeft(int value) override;
    void setImageWidth(int value) override;
    void setImageHeight(int value) override;
    void setRegionRefresh(bool on) override;
    void centreOnScreen() override;

  private:
    RegionButton* button(int index) const;
    void setListColourRole(int role, SkinColour colour);

    Controls controls_;
    std::string aboutText_;
    bool regionRefresh_ = false;
};

} // namespace arcavio
