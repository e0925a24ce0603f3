#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QLabel>

#include "editor/editortable.h"

class QPushButton;
class QTabWidget;

namespace arcavio {

// The picture box, objectName "Image": stretches its picture and answers a double-click.
class PictureBox : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onDoubleClick;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The editor's notebook "S7984" with its six pages (the last holding the inner notebook
// "s107109e159") and the button panel "Panel1", built from the control table with the
// configuration's default values. It owns no widget: they belong to the window.
class EditorPages {
  public:
    explicit EditorPages(QWidget* window);

    // The control of that objectName; throws std::logic_error for a name the table lacks.
    QWidget* control(std::string_view name) const;
    template <class T> T* control(std::string_view name) const { return qobject_cast<T*>(control(name)); }

    // The buttons on a field's row, left to right.
    std::vector<QPushButton*> rowButtons(std::string_view field) const;

    // A language line for a control's caption or a page's tab; false for any other line.
    bool setText(int line, const std::string& text);

    // Once the texts are in: fields step right of a label that needs more room, the video
    // page's right column clears the left one, and the window widens as far as its captions
    // need.
    void arrange();

  private:
    struct Pair {
        QWidget* label;
        std::vector<QWidget*> fields;
        std::vector<int> lefts;
        int column; // rows of one column line up; -1 for a lone row
    };

    QWidget* container(EditorPage page);
    void addOuterPage();
    void widenSpinFields();
    void placePairs();
    void separateVideoColumns();
    void fitWidth();

    QWidget* window_;
    QTabWidget* notebook_ = nullptr;
    QTabWidget* corePages_ = nullptr;
    QWidget* panel_ = nullptr;
    std::vector<QWidget*> outerPages_;
    std::vector<QWidget*> corePageWidgets_;
    std::unordered_map<int, QWidget*> captioned_;
    std::unordered_map<std::string, QWidget*> named_;
    std::vector<Pair> pairs_;
    std::vector<QWidget*> videoRightColumn_;
};

} // namespace arcavio
