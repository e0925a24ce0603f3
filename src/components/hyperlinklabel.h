#pragma once

#include <functional>
#include <string>

#include <QColor>
#include <QString>
#include <QWidget>

#include "components/hyperlinkrules.h"

class QMenu;

namespace arcavio {

// A label that stands for a link: the link type's prefix and the caption (or the alias
// instead of both), underlined in the link colour, or in the visited colour once opened.
// A left click opens the target (prefix and caption) with the system's default handler; a
// right-button press offers to copy the target. Its objectName is its owner's control name:
// the about window's HyperLink1 to HyperLink6.
class HyperlinkLabel : public QWidget {
    Q_OBJECT

  public:
    explicit HyperlinkLabel(QWidget* parent = nullptr);
    ~HyperlinkLabel() override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption); // also forgets the visit
    QString Alias() const { return alias_; }
    void setAlias(const QString& alias);
    HyperlinkType LinkType() const { return linkType_; }
    void setLinkType(HyperlinkType type); // a change also forgets the visit
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    QColor LinkColor() const { return linkColor_; }
    void setLinkColor(const QColor& color);
    QColor VisitedColor() const { return visitedColor_; }
    void setVisitedColor(const QColor& color);
    bool Visited() const { return visited_; }
    void setVisited(bool on);
    // The background painted when the label is not transparent.
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    // One value for every label: setting it on one changes it for all.
    QString CustomPrefix() const;
    void setCustomPrefix(const QString& prefix);
    // The label's own hint. It shows while the label is wide enough for its text; otherwise,
    // or when there is none, the hint is the full target.
    QString hint() const { return savedHint_; }
    void setHint(const QString& hint);

    QString target() const;
    // Width that shows the whole text, and the line height; AutoSize fits the label to them.
    int neededWidth() const;
    int lineHeight() const;
    QMenu* popupMenu() const { return menu_; }

    // Raised in this order by a click. Clearing executeIt in OnBeforeExecuted cancels all
    // the rest; clearing it in OnExecute means the handler opened the link itself.
    std::function<void(HyperlinkLabel* sender, bool& executeIt)> OnBeforeExecuted;
    std::function<void(HyperlinkLabel* sender, bool& executeIt)> OnExecute;
    std::function<void(HyperlinkLabel* sender, int reslt)> OnAfterExecuted;

    void Click();
    // Puts the target on the clipboard; "Could not write to clipboard" when that fails.
    void copyTarget();

    // How targets are opened: the opener hands the shell's kind of result, above 32 for
    // success, to `done`, at once or later from the event loop; only then is the click's visit
    // decided and OnAfterExecuted raised. Tests replace it; the default runs the desktop's
    // opener beside the event loop and reports its exit status (see openWithDesktop).
    using OpenDone = std::function<void(int result)>;
    using Opener = std::function<void(const std::string& target, OpenDone done)>;
    static Opener setOpener(Opener opener);
    // How text reaches the clipboard; false when it could not be written.
    using ClipboardWriter = std::function<bool(const std::string& text)>;
    static ClipboardWriter setClipboardWriter(ClipboardWriter writer);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void finishClick(int result);
    QFont linkFont() const;
    void refresh();
    void updateHint();
    static void refreshCustomLabels();

    QMenu* menu_;
    bool visited_ = false;
    bool transparent_ = true;
    bool autoSize_ = true;
    HyperlinkType linkType_ = HyperlinkType::ltEmail;
    QColor linkColor_{0, 0, 255};
    QColor visitedColor_{128, 0, 128};
    QString savedHint_;
    QString alias_;
    QString caption_;
    QColor color_;
};

} // namespace arcavio
