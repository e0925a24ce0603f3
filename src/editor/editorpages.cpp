#include "editor/editorpages.h"

#include <algorithm>
#include <stdexcept>

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "base/language.h"
#include "base/qthelpers.h"
#include "config/configuration.h"
#include "editor/spinedit.h"
#include "platform/readlimits.h"

namespace arcavio {

namespace {

constexpr int kClientWidth = 536;
constexpr int kNotebookHeight = 297;
constexpr int kPanelHeight = 50;
constexpr int kEditHeight = 21;
constexpr int kSpinHeight = 22;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Where the video page's right column begins, as designed.
constexpr int kVideoRightColumn = 271;

void setCaption(QWidget* widget, const std::string& text)
{
    // Buttons keep their size; labels and check boxes fit their text.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        setLabelCaption(label, shownLine(text));
        label->adjustSize();
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setText(shownLine(text));
        box->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(shownLine(text));
    }
}

std::string_view defaultValue(const EditorControl& row)
{
    return kConfigurationLines.at(static_cast<std::size_t>(row.line)).defaultValue;
}

int orDefault(int value, int fallback)
{
    return value != 0 ? value : fallback;
}

QWidget* createControl(const EditorControl& row, QWidget* parent)
{
    const QString caption = qtext(builtinText(row.caption));
    switch (row.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        label->move(row.left, row.top);
        label->adjustSize();
        return label;
    }
    case ControlKind::Times: {
        auto* times = new QLabel(QStringLiteral("x"), parent);
        times->move(row.left, row.top);
        times->adjustSize();
        return times;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setGeometry(row.left, row.top, orDefault(row.width, kButtonWidth), kButtonHeight);
        if (row.height != 0)
            button->setFixedHeight(row.height);
        return button;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, parent);
        box->setChecked(flagOn(defaultValue(row)));
        box->move(row.left, row.top);
        box->adjustSize();
        return box;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        // Qt would cut a longer line at 32,767 characters and the next Save would lose the rest.
        edit->setMaxLength(static_cast<int>(platform::kConfigurationFileLimit));
        edit->setText(qtext(defaultValue(row)));
        edit->setGeometry(row.left, row.top, row.width, orDefault(row.height, kEditHeight));
        return edit;
    }
    case ControlKind::Spin: {
        auto* spin = new SpinEdit(parent, row.bounds);
        spin->setValue(integerValue(defaultValue(row)));
        spin->setGeometry(row.left, row.top, row.width, orDefault(row.height, kSpinHeight));
        return spin;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame(parent);
        frame->setGeometry(row.left, row.top, row.width, row.height);
        frame->setStyleSheet(QStringLiteral("QFrame { background: white; border: 1px solid black; }"));
        return frame;
    }
    case ControlKind::Picture: {
        auto* picture = new PictureBox(parent);
        picture->setGeometry(row.left, row.top, row.width, row.height);
        picture->setScaledContents(true);
        return picture;
    }
    }
    throw std::logic_error("unknown editor control kind");
}

} // namespace

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (onDoubleClick)
        onDoubleClick();
    QLabel::mouseDoubleClickEvent(event);
}

EditorPages::EditorPages(QWidget* window) : window_(window)
{
    notebook_ = new QTabWidget(window);
    notebook_->setObjectName(QStringLiteral("S7984"));
    notebook_->setGeometry(0, 0, kClientWidth, kNotebookHeight);

    for (const EditorControl& row : editorControls()) {
        QWidget* w = createControl(row, container(row.page));
        if (row.page == EditorPage::Video && row.left >= kVideoRightColumn)
            videoRightColumn_.push_back(w);
        w->setObjectName(qtext(row.name));
        if (!row.name.empty())
            named_[row.name] = w;
        if (row.caption != 0)
            captioned_[row.caption] = w;
        if (row.follows != 0) {
            auto pair = std::find_if(pairs_.begin(), pairs_.end(),
                                     [&](const Pair& p) { return p.label == captioned_.at(row.follows); });
            if (pair == pairs_.end())
                pair = pairs_.insert(pairs_.end(), Pair{captioned_.at(row.follows), {}, {}, row.column});
            pair->fields.push_back(w);
            pair->lefts.push_back(w->x());
        }
    }
    container(EditorPage::Panel);
    widenSpinFields();
    // A label's accelerator focuses the field it names.
    for (const Pair& p : pairs_)
        if (auto* label = qobject_cast<QLabel*>(p.label))
            label->setBuddy(p.fields.front());

    for (const auto& chain : editorTabChains())
        for (std::size_t i = 1; i < chain.size(); ++i)
            QWidget::setTabOrder(control(chain[i - 1]), control(chain[i]));
}

void EditorPages::addOuterPage()
{
    const int index = static_cast<int>(outerPages_.size());
    auto* page = new QWidget;
    notebook_->addTab(page, qtext(builtinText(outerPageCaption(index))));
    outerPages_.push_back(page);
    if (index != kOuterPageCount - 1)
        return;
    corePages_ = new QTabWidget(page);
    corePages_->setObjectName(QStringLiteral("s107109e159"));
    corePages_->setGeometry(0, 0, kClientWidth - 6, kNotebookHeight - 28);
    for (int i = 0; i < kCorePageCount; ++i) {
        auto* inner = new QWidget;
        corePages_->addTab(inner, qtext(builtinText(corePageCaption(i))));
        corePageWidgets_.push_back(inner);
    }
}

QWidget* EditorPages::container(EditorPage page)
{
    // Pages come into being in their order, whatever the table holds, and the panel after them.
    const int outer = page == EditorPage::Panel ? kOuterPageCount - 1 : outerPageIndex(page);
    while (static_cast<int>(outerPages_.size()) <= outer)
        addOuterPage();
    if (page == EditorPage::Panel) {
        if (!panel_) {
            panel_ = new QWidget(window_);
            panel_->setObjectName(QStringLiteral("Panel1"));
            panel_->setGeometry(0, kNotebookHeight, kClientWidth, kPanelHeight);
        }
        return panel_;
    }
    if (const int core = corePageIndex(page); core >= 0)
        return corePageWidgets_.at(static_cast<std::size_t>(core));
    return outerPages_.at(static_cast<std::size_t>(outer));
}

QWidget* EditorPages::control(std::string_view name) const
{
    if (auto it = named_.find(std::string(name)); it != named_.end())
        return it->second;
    throw std::logic_error("no editor control " + std::string(name));
}

std::vector<QPushButton*> EditorPages::rowButtons(std::string_view field) const
{
    QWidget* w = control(field);
    std::vector<QPushButton*> buttons;
    for (const Pair& p : pairs_)
        if (std::find(p.fields.begin(), p.fields.end(), w) != p.fields.end())
            for (QWidget* f : p.fields)
                if (auto* button = qobject_cast<QPushButton*>(f))
                    buttons.push_back(button);
    return buttons;
}

bool EditorPages::setText(int line, const std::string& text)
{
    if (auto it = captioned_.find(line); it != captioned_.end()) {
        setCaption(it->second, text);
        return true;
    }
    for (int i = 0; i < kOuterPageCount; ++i)
        if (outerPageCaption(i) == line) {
            notebook_->setTabText(i, shownLine(text));
            return true;
        }
    for (int i = 0; i < kCorePageCount; ++i)
        if (corePageCaption(i) == line) {
            corePages_->setTabText(i, shownLine(text));
            return true;
        }
    return false;
}

void EditorPages::arrange()
{
    placePairs();
    separateVideoColumns();
    fitWidth();
}

// A spin field shows the whole of every value it can hold; what follows it on its row moves
// along, keeping its distance.
void EditorPages::widenSpinFields()
{
    for (Pair& p : pairs_) {
        std::vector<std::size_t> order(p.fields.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&p](std::size_t a, std::size_t b) { return p.lefts[a] < p.lefts[b]; });
        int shift = 0;
        for (const std::size_t i : order) {
            QWidget* field = p.fields[i];
            p.lefts[i] += shift;
            field->move(p.lefts[i], field->y());
            if (auto* spin = qobject_cast<SpinEdit*>(field)) {
                const int needed = spin->widthForEveryValue();
                if (needed > spin->width()) {
                    shift += needed - spin->width();
                    spin->resize(needed, spin->height());
                }
            }
        }
    }
}

// A label that needs more room than its field leaves pushes the field (and what follows it
// on the row) to the right, so no text runs under a field. Rows of one column move together.
void EditorPages::placePairs()
{
    std::unordered_map<int, int> columnShift;
    auto neededShift = [](const Pair& p) {
        return std::max(0, p.label->x() + p.label->sizeHint().width() + 4 - p.lefts.front());
    };
    for (const Pair& p : pairs_)
        if (p.column >= 0)
            columnShift[p.column] = std::max(columnShift[p.column], neededShift(p));
    for (const Pair& p : pairs_) {
        const int shift = p.column >= 0 ? columnShift[p.column] : neededShift(p);
        for (std::size_t i = 0; i < p.fields.size(); ++i)
            p.fields[i]->move(p.lefts[i] + shift, p.fields[i]->y());
    }
}

// Long captions in the left column of the video page push the right column aside.
void EditorPages::separateVideoColumns()
{
    QWidget* page = outerPages_.at(static_cast<std::size_t>(EditorPage::Video));
    int leftEdge = 0;
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (std::find(videoRightColumn_.begin(), videoRightColumn_.end(), w) == videoRightColumn_.end())
            leftEdge = std::max(leftEdge, w->x() + w->width());
    const int shift = std::max(0, leftEdge + 8 - kVideoRightColumn);
    for (QWidget* w : videoRightColumn_)
        w->move(w->x() + shift, w->y());
}

// The window keeps its height and widens only as far as its page captions and the panel's
// widest button need, so no tab hides behind scroll arrows and no caption is cut.
void EditorPages::fitWidth()
{
    QWidget* saveAndClose = captioned_.at(27);
    const int saveAndCloseWidth = std::max(97, saveAndClose->sizeHint().width());
    const int tabs =
        std::max(notebook_->tabBar()->sizeHint().width(), corePages_->tabBar()->sizeHint().width() + 6) + 4;
    int pages = 0;
    for (QWidget* page : outerPages_)
        for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != corePages_)
                pages = std::max(pages, w->x() + w->width() + 12);
    for (QWidget* page : corePageWidgets_)
        for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            pages = std::max(pages, w->x() + w->width() + 18);
    const int width = std::max({kClientWidth, tabs, pages, kClientWidth + saveAndCloseWidth - 97});
    notebook_->resize(width, kNotebookHeight);
    corePages_->resize(width - 6, corePages_->height());
    panel_->resize(width, kPanelHeight);
    // The command buttons keep their distance from the right edge; Help stays at the left.
    const int right = width - kClientWidth + 523;
    captioned_.at(28)->move(right - 75, 12);
    saveAndClose->setGeometry(right - 75 - 7 - saveAndCloseWidth, 12, saveAndCloseWidth, 25);
    captioned_.at(26)->move(saveAndClose->x() - 80, 12);
    captioned_.at(25)->move(saveAndClose->x() - 160, 12);
    window_->setFixedSize(width, kNotebookHeight + kPanelHeight);
}

} // namespace arcavio
