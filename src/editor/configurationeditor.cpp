#include "editor/configurationeditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/dialogrun.h"
#include "components/picture.h"
#include "components/windowplacement.h"
#include "config/configuration.h"
#include "editor/editorrules.h"
#include "editor/spinedit.h"
#include "games/gamepicker.h"
#include "platform/filesystem.h"
#include "text/paths.h"

namespace arcavio {

namespace {

constexpr int kClientWidth = 536;
constexpr int kNotebookHeight = 297;
constexpr int kPanelHeight = 50;
constexpr int kEditHeight = 21;
constexpr int kSpinHeight = 22;
constexpr int kRowButtonHeight = 23;

constexpr const char* kBuiltinDatDialogTitle = "Select the DAT File";

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}
QColor windowColour()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

// A dialog that picks one file to open, existing or not. Qt's own dialog, rather than the
// system's, must be chosen before anything else is set.
QFileDialog* openFileDialog(QWidget* parent, const char* name, const QString& title, const QString& filter,
                            bool qtOwnDialog = false)
{
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(QString::fromLatin1(name));
    if (qtOwnDialog)
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(filter);
    return dialog;
}

void setCaption(QWidget* widget, const std::string& text)
{
    // Buttons keep their size; labels and check boxes fit their text.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(shownLine(text));
        label->adjustSize();
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setText(shownLine(text));
        box->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(shownLine(text));
    }
}

} // namespace

// The picture box: stretches its picture and answers a double-click.
class PictureBox : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onDoubleClick;

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (onDoubleClick)
            onDoubleClick();
        QLabel::mouseDoubleClickEvent(event);
    }
};

ConfigurationEditor::ConfigurationEditor(const EditorContext& context)
    : QDialog(context.owner), context_(context)
{
    setObjectName(QStringLiteral("c110"));
    setWindowTitle(qtext(builtinText(110)));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("S7984"));
    pages_->setGeometry(0, 0, kClientWidth, kNotebookHeight);
    const std::array<void (ConfigurationEditor::*)(QWidget*), 6> builders = {
        &ConfigurationEditor::buildDetailsPage, &ConfigurationEditor::buildDirectoriesPage,
        &ConfigurationEditor::buildFilesPage,   &ConfigurationEditor::buildVideoPage,
        &ConfigurationEditor::buildInputPage,   &ConfigurationEditor::buildCorePage};
    for (std::size_t i = 0; i < builders.size(); ++i) {
        auto* page = new QWidget;
        pages_->addTab(page, qtext(builtinText(79 + static_cast<int>(i))));
        (this->*builders[i])(page);
    }
    buildPanel();
    buildTabOrder();

    pictureDialogTitle_ = builtinText(111);
    executableDialogTitle_ = builtinText(113);
    saveDialogTitle_ = builtinText(131);
    folderBrowser_.Title = builtinText(114);

    guarded([this] { applyLanguage(); });
    placePairs();
    separateVideoColumns();
    fitWidth();
    auto* placement = new WindowPlacement(this);
    placement->setOuterPosition(QPoint(192, 112));
}

ConfigurationEditor::~ConfigurationEditor() = default;

// ---- building ----------------------------------------------------------------------------

QLabel* ConfigurationEditor::label(QWidget* parent, int line, int x, int y)
{
    auto* l = new QLabel(qtext(builtinText(line)), parent);
    l->setObjectName(QStringLiteral("c%1").arg(line));
    l->setTextFormat(Qt::PlainText);
    l->move(x, y);
    l->adjustSize();
    captioned_[line] = l;
    named_[l->objectName().toStdString()] = l;
    return l;
}

QPushButton* ConfigurationEditor::button(QWidget* parent, int line, int x, int y, int width)
{
    auto* b = new QPushButton(qtext(builtinText(line)), parent);
    b->setObjectName(QStringLiteral("c%1").arg(line));
    b->setAutoDefault(false);
    b->setGeometry(x, y, width, 25);
    captioned_[line] = b;
    named_[b->objectName().toStdString()] = b;
    return b;
}

QCheckBox* ConfigurationEditor::checkBox(QWidget* parent, int line, int x, int y, bool checked)
{
    auto* c = new QCheckBox(qtext(builtinText(line)), parent);
    const QString name = QStringLiteral("c%1").arg(line);
    c->setObjectName(name);
    c->setChecked(checked);
    c->move(x, y);
    c->adjustSize();
    captioned_[line] = c;
    named_[name.toStdString()] = c;
    return c;
}

QLineEdit* ConfigurationEditor::edit(QWidget* parent, const char* name, int x, int y, int width,
                                     const std::string& value)
{
    auto* e = new QLineEdit(parent);
    // Qt would cut a longer line at 32,767 characters and the next Save would lose the rest.
    e->setMaxLength(static_cast<int>(platform::kConfigurationFileLimit));
    e->setText(qtext(value));
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, width, kEditHeight);
    named_[name] = e;
    return e;
}

SpinEdit* ConfigurationEditor::spin(QWidget* parent, const char* name, int x, int y, int width,
                                    std::int32_t value, SpinBounds bounds)
{
    auto* s = new SpinEdit(parent, bounds);
    s->setObjectName(QString::fromLatin1(name));
    s->setValue(value);
    s->setGeometry(x, y, width, kSpinHeight);
    named_[name] = s;
    return s;
}

void ConfigurationEditor::pair(QWidget* labelWidget, std::vector<QWidget*> fields, int column)
{
    Pair p{labelWidget, std::move(fields), {}, column};
    for (QWidget* f : p.fields)
        p.lefts.push_back(f->x());
    pairs_.push_back(std::move(p));
}

// A label that needs more room than its field leaves pushes the field (and what follows it
// on the row) to the right, so no text runs under a field. Rows of one column move together.
void ConfigurationEditor::placePairs()
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
void ConfigurationEditor::separateVideoColumns()
{
    QWidget* page = pages_->widget(3);
    constexpr int rightColumn = 271;
    int leftEdge = 0;
    std::vector<QWidget*> rightWidgets;
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->x() >= rightColumn)
            rightWidgets.push_back(w);
        else
            leftEdge = std::max(leftEdge, w->x() + w->width());
    }
    const int shift = std::max(0, leftEdge + 8 - rightColumn);
    for (QWidget* w : rightWidgets)
        w->move(w->x() + shift, w->y());
}

// The window keeps its height and widens only as far as its page captions and the panel's
// widest button need, so no tab hides behind scroll arrows and no caption is cut.
void ConfigurationEditor::fitWidth()
{
    QWidget* saveAndClose = captioned_.at(27);
    const int saveAndCloseWidth = std::max(97, saveAndClose->sizeHint().width());
    const int tabs =
        std::max(pages_->tabBar()->sizeHint().width(), corePages_->tabBar()->sizeHint().width() + 6) + 4;
    int pages = 0;
    for (int i = 0; i < pages_->count(); ++i)
        for (QWidget* w : pages_->widget(i)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != corePages_)
                pages = std::max(pages, w->x() + w->width() + 12);
    for (int i = 0; i < corePages_->count(); ++i)
        for (QWidget* w : corePages_->widget(i)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            pages = std::max(pages, w->x() + w->width() + 18);
    const int width = std::max({kClientWidth, tabs, pages, kClientWidth + saveAndCloseWidth - 97});
    pages_->resize(width, kNotebookHeight);
    corePages_->resize(width - 6, corePages_->height());
    findChild<QWidget*>(QStringLiteral("Panel1"))->resize(width, kPanelHeight);
    // The command buttons keep their distance from the right edge; Help stays at the left.
    const int right = width - kClientWidth + 523;
    captioned_.at(28)->move(right - 75, 12);
    saveAndClose->setGeometry(right - 75 - 7 - saveAndCloseWidth, 12, saveAndCloseWidth, 25);
    captioned_.at(26)->move(saveAndClose->x() - 80, 12);
    captioned_.at(25)->move(saveAndClose->x() - 160, 12);
    setFixedSize(width, kNotebookHeight + kPanelHeight);
}

void ConfigurationEditor::onGuarded(QPushButton* b, void (ConfigurationEditor::*command)())
{
    connect(b, &QPushButton::clicked, this,
            [this, command] { guarded([this, command] { (this->*command)(); }); });
}

void ConfigurationEditor::buildPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, kNotebookHeight, kClientWidth, kPanelHeight);
    QPushButton* help = button(panel, 24, 16, 13);
    onGuarded(button(panel, 25, 184, 12), &ConfigurationEditor::saveAs);
    onGuarded(button(panel, 26, 264, 12), &ConfigurationEditor::save);
    onGuarded(button(panel, 27, 344, 12, 97), &ConfigurationEditor::saveAndClose);
    onGuarded(button(panel, 28, 448, 12), &ConfigurationEditor::closeEditor);
    connect(help, &QPushButton::clicked, this, [this] {
        guarded([this] {
            if (context_.showHelp)
                context_.showHelp();
        });
    });
}

void ConfigurationEditor::buildDetailsPage(QWidget* page)
{
    QLabel* c17 = label(page, 17, 24, 16);
    emulatorEdit_ = edit(page, "mame", 111, 11, 386, "");
    pair(c17, {emulatorEdit_});
    onGuarded(button(page, 18, 421, 40), &ConfigurationEditor::searchExecutable);
    label(page, 19, 8, 80);

    pictureFrame_ = new QFrame(page);
    pictureFrame_->setObjectName(QStringLiteral("Shape1"));
    pictureFrame_->setGeometry(8, 104, 160, 120);
    pictureFrame_->setStyleSheet(QStringLiteral("QFrame { background: white; border: 1px solid black; }"));
    picture_ = new PictureBox(page);
    picture_->setObjectName(QStringLiteral("Image"));
    picture_->setGeometry(8, 104, 160, 120);
    picture_->setScaledContents(true);
    picture_->onDoubleClick = [this] { guarded([this] { loadPictureFromDialog(); }); };

    onGuarded(button(page, 112, 14, 235), &ConfigurationEditor::clearPicture);
    onGuarded(button(page, 22, 94, 235), &ConfigurationEditor::loadPictureFromDialog);
    label(page, 20, 184, 96);
    edit(page, "Edit1", 184, 120, 329, "");
    runSpecifiedGame_ = checkBox(page, 21, 185, 158, false);
    gameEdit_ = edit(page, "game", 184, 179, 329, "");
    searchGameButton_ = button(page, 23, 436, 208);
    onGuarded(searchGameButton_, &ConfigurationEditor::searchGame);
    connect(runSpecifiedGame_, &QCheckBox::toggled, this, &ConfigurationEditor::runSpecifiedGameChanged);
    runSpecifiedGameChanged(false);
}

// One row of a path page: label, edit, Search and Default; the rows stand 24 pixels apart.
struct ConfigurationEditor::PathRows {
    int firstLine; // configuration line of the first row
    int labelLine; // language lines of the first row's label, Search and Default buttons
    int searchLine;
    int defaultLine;
    int top; // of the first edit
    int editLeft;
    const char* editPrefix;
    void (ConfigurationEditor::*search)(int row);
    void (ConfigurationEditor::*reset)(int row);
    int column;
};

void ConfigurationEditor::buildPathRows(QWidget* page, int count, const PathRows& rows,
                                        std::vector<QLineEdit*>& edits)
{
    for (int row = 1; row <= count; ++row) {
        const int top = rows.top + 24 * (row - 1);
        const ConfigurationLine& entry =
            kConfigurationLines[static_cast<std::size_t>(rows.firstLine + row - 1)];
        QLabel* l = label(page, rows.labelLine + row - 1, 96, top + 3);
        const std::string name = rows.editPrefix + std::to_string(row);
        QLineEdit* e = edit(page, name.c_str(), rows.editLeft, top, 121, std::string(entry.defaultValue));
        QPushButton* search = button(page, rows.searchLine + row - 1, rows.editLeft + 128, top - 1);
        QPushButton* reset = button(page, rows.defaultLine + row - 1, rows.editLeft + 216, top - 1);
        search->setFixedHeight(kRowButtonHeight);
        reset->setFixedHeight(kRowButtonHeight);
        edits.push_back(e);
        pair(l, {e, search, reset}, rows.column);
        connect(search, &QPushButton::clicked, this,
                [this, row, fn = rows.search] { guarded([this, row, fn] { (this->*fn)(row); }); });
        connect(reset, &QPushButton::clicked, this,
                [this, row, fn = rows.reset] { guarded([this, row, fn] { (this->*fn)(row); }); });
    }
}

void ConfigurationEditor::buildDirectoriesPage(QWidget* page)
{
    buildPathRows(page, 10,
                  {5, 29, 39, 115, 20, 184, "dir", &ConfigurationEditor::searchDirectory,
                   &ConfigurationEditor::defaultDirectory, 1},
                  directoryEdits_);
}

void ConfigurationEditor::buildFilesPage(QWidget* page)
{
    buildPathRows(page, 3,
                  {15, 49, 52, 126, 92, 192, "file", &ConfigurationEditor::searchDatFile,
                   &ConfigurationEditor::defaultDatFile, 2},
                  fileEdits_);
}

// Width, height and colour depth with a fixed "x" between each pair, after their caption.
std::vector<SpinEdit*> ConfigurationEditor::resolutionFields(QWidget* page, QLabel* caption,
                                                             const std::string& prefix, int left, int top)
{
    std::vector<SpinEdit*> fields = {spin(page, (prefix + "1").c_str(), left, top, 52, 0, kUnbounded),
                                     spin(page, (prefix + "2").c_str(), left + 65, top, 52, 0, kUnbounded),
                                     spin(page, (prefix + "3").c_str(), left + 129, top, 43, 0, kUnbounded)};
    std::vector<QWidget*> row{fields[0]};
    for (const int x : {left + 55, left + 120}) {
        auto* times = new QLabel(QStringLiteral("x"), page);
        times->move(x, top + 4);
        times->adjustSize();
        row.push_back(times);
        row.push_back(fields[row.size() / 2]);
    }
    pair(caption, row);
    return fields;
}

void ConfigurationEditor::buildVideoPage(QWidget* page)
{
    QCheckBox* c55 = checkBox(page, 55, 16, 0, true);
    QLabel* c56 = label(page, 56, 16, 23);
    frameSkip_ = {spin(page, "frameskip", 77, 19, 60, 0, kUnbounded)};
    pair(c56, {frameSkip_[0]});
    checkBox(page, 57, 16, 49, false);
    checkBox(page, 58, 16, 72, false);
    checkBox(page, 59, 16, 96, false);
    checkBox(page, 60, 16, 120, true);
    checkBox(page, 61, 16, 144, true);
    QCheckBox* c62 = checkBox(page, 62, 16, 168, true);
    QLabel* c63 = label(page, 63, 16, 191);
    resolution_ = resolutionFields(page, c63, "resolution", 77, 187);
    QLabel* c64 = label(page, 64, 15, 222);
    pair(c64, {spin(page, "refresh", 85, 218, 52, 0, kUnbounded)});
    checkBox(page, 65, 16, 248, false);

    const std::array<std::pair<int, bool>, 8> right = {{{66, true},
                                                        {67, true},
                                                        {68, true},
                                                        {69, false},
                                                        {70, false},
                                                        {71, true},
                                                        {72, false},
                                                        {130, false}}};
    for (std::size_t i = 0; i < right.size(); ++i)
        checkBox(page, right[i].first, 272, 16 + 24 * static_cast<int>(i), right[i].second);
    QLabel* c73 = label(page, 73, 271, 208);
    pair(c73, {edit(page, "brightness", 391, 205, 72, " 0.000000")});
    QLabel* c74 = label(page, 74, 272, 241);
    pair(c74, {spin(page, "framestorun", 349, 236, 52, 0, kUnbounded)});

    connect(c55, &QCheckBox::toggled, this, [this](bool on) { automaticValueChanged(frameSkip_, on); });
    connect(c62, &QCheckBox::toggled, this, [this](bool on) { automaticValueChanged(resolution_, on); });
    automaticValueChanged(frameSkip_, true);
    automaticValueChanged(resolution_, true);
}

void ConfigurationEditor::buildInputPage(QWidget* page)
{
    checkBox(page, 75, 208, 80, false);
    checkBox(page, 76, 208, 112, false);
    checkBox(page, 77, 208, 144, false);
    checkBox(page, 78, 208, 176, false);
}

void ConfigurationEditor::buildCorePage(QWidget* page)
{
    corePages_ = new QTabWidget(page);
    corePages_->setObjectName(QStringLiteral("s107109e159"));
    corePages_->setGeometry(0, 0, kClientWidth - 6, kNotebookHeight - 28);
    std::array<QWidget*, 4> pages{};
    const std::array<int, 4> captions = {107, 108, 109, 159};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i] = new QWidget;
        corePages_->addTab(pages[i], qtext(builtinText(captions[i])));
    }

    QWidget* video = pages[0];
    QLabel* c85 = label(video, 85, 168, 18);
    pair(c85, {spin(video, "bitmapdepth", 240, 14, 52, 0, kUnbounded)});
    checkBox(video, 86, 168, 48, false);
    checkBox(video, 87, 168, 72, false);
    checkBox(video, 88, 168, 96, false);
    checkBox(video, 89, 168, 120, false);
    checkBox(video, 90, 168, 144, false);
    QCheckBox* c91 = checkBox(video, 91, 168, 168, true);
    QLabel* c92 = label(video, 92, 168, 191);
    debugResolution_ = resolutionFields(video, c92, "dresolution", 229, 187);
    QLabel* c93 = label(video, 93, 168, 220);
    pair(c93, {edit(video, "gamma", 262, 216, 72, " 1.000000")});
    connect(c91, &QCheckBox::toggled, this, [this](bool on) { automaticValueChanged(debugResolution_, on); });
    automaticValueChanged(debugResolution_, true);

    QWidget* vector = pages[1];
    checkBox(vector, 94, 184, 37, false);
    checkBox(vector, 95, 184, 56, false);
    QLabel* c96 = label(vector, 96, 184, 108);
    pair(c96, {edit(vector, "beam", 222, 104, 72, " 1.000000")});
    QLabel* c97 = label(vector, 97, 184, 140);
    pair(c97, {edit(vector, "flicker", 222, 136, 72, " 0.000000")});

    QWidget* sound = pages[2];
    QLabel* c98 = label(sound, 98, 184, 47);
    pair(c98, {spin(sound, "samplerate", 253, 43, 66, 44100, kUnbounded)});
    checkBox(sound, 99, 184, 80, true);
    checkBox(sound, 100, 184, 104, true);
    checkBox(sound, 101, 184, 128, true);
    QLabel* c102 = label(sound, 102, 184, 151);
    pair(c102, {spin(sound, "volume", 229, 147, 60, 0, kVolumeBounds)});

    QWidget* misc = pages[3];
    checkBox(misc, 103, 208, 64, false);
    checkBox(misc, 104, 208, 88, false);
    checkBox(misc, 105, 208, 112, false);
    checkBox(misc, 106, 208, 136, false);
}

void ConfigurationEditor::buildTabOrder()
{
    auto chain = [this](std::initializer_list<const char*> names) {
        QWidget* previous = nullptr;
        for (const char* name : names) {
            QWidget* w = control(name);
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    };
    chain({"Edit1", "c22", "c21", "game", "c23", "mame", "c18", "c112"});
    chain({"dir1", "c39",  "dir2", "c40",  "dir3", "c41",  "dir4", "c42",  "dir5",  "c43",
           "dir6", "c44",  "dir7", "c45",  "dir8", "c46",  "dir9", "c47",  "dir10", "c48",
           "c115", "c116", "c117", "c118", "c119", "c120", "c121", "c122", "c123",  "c124"});
    chain({"file1", "c52", "c53", "file2", "file3", "c54", "c126", "c127", "c128"});
    chain({"c55",         "frameskip",   "c57", "c58",     "c59",        "c60",         "c61", "resolution2",
           "resolution1", "resolution3", "c62", "refresh", "c65",        "c66",         "c67", "c68",
           "c69",         "c70",         "c71", "c72",     "brightness", "framestorun", "c130"});
    chain({"c75", "c76", "c78", "c77"});
    chain({"bitmapdepth", "c86", "c87", "c88", "c89", "c90", "c91", "dresolution1", "dresolution2",
           "dresolution3", "gamma"});
    chain({"c95", "beam", "flicker", "c94"});
    chain({"samplerate", "c99", "c100", "c101", "volume"});
    chain({"c103", "c104", "c105", "c106"});
    chain({"c28", "c26", "c27", "c25", "c24"});
}

void ConfigurationEditor::applyLanguage()
{
    applyEditorLanguage(context_.language, [this](int line, const std::string& text) {
        if (auto it = captioned_.find(line); it != captioned_.end()) {
            setCaption(it->second, text);
        } else if (line >= 79 && line <= 84) {
            pages_->setTabText(line - 79, shownLine(text));
        } else if (line >= 107 && line <= 109) {
            corePages_->setTabText(line - 107, shownLine(text));
        } else if (line == 159) {
            corePages_->setTabText(3, shownLine(text));
        } else if (line == 111) {
            pictureDialogTitle_ = text;
        } else if (line == 113) {
            executableDialogTitle_ = text;
        } else if (line == 114) {
            folderBrowser_.Title = text;
        } else if (line == 131) {
            saveDialogTitle_ = text;
        }
    });
}

// ---- enabling rules ----------------------------------------------------------------------

void ConfigurationEditor::runSpecifiedGameChanged(bool checked)
{
    if (checked) {
        setBackground(gameEdit_, windowColour());
        gameEdit_->setEnabled(true);
    } else {
        setBackground(gameEdit_, buttonFace());
        gameEdit_->setEnabled(false);
        gameEdit_->clear();
    }
    searchGameButton_->setEnabled(checked);
}

void ConfigurationEditor::automaticValueChanged(const std::vector<SpinEdit*>& fields, bool checked)
{
    for (SpinEdit* field : fields) {
        if (checked) {
            setBackground(field, buttonFace());
            field->setEnabled(false);
            field->setValue(0);
        } else {
            setBackground(field, QColor(Qt::white));
            field->setEnabled(true);
        }
    }
}

// ---- commands ----------------------------------------------------------------------------

void ConfigurationEditor::loadConfiguration(const LineList& lines)
{
    loadControls(lines, *this);
}

void ConfigurationEditor::save()
{
    if (!platform::fileExists(emulatorEdit_->text().toStdString()))
        messages().plainMessage(context_.language.text(152, kBuiltinEditorExeWarning));
    if (ConfigFileName.empty() && context_.askConfigurationName)
        ConfigFileName = context_.askConfigurationName();
    if (ConfigFileName.empty())
        return;
    savedLines = linesFromControls(*this);
    writeConfiguration(ConfigFileName, savedLines);
    messages().plainMessage(context_.language.text(132, "File Saved!"));
}

void ConfigurationEditor::saveAs()
{
    ConfigFileName = context_.askConfigurationName ? context_.askConfigurationName() : std::string();
    if (!ConfigFileName.empty())
        save();
}

void ConfigurationEditor::saveAndClose()
{
    save();
    if (!ConfigFileName.empty())
        closeEditor();
}

void ConfigurationEditor::closeEditor()
{
    if (context_.refreshList)
        context_.refreshList();
    close();
}

void ConfigurationEditor::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<std::string> ConfigurationEditor::runDialog(QFileDialog& dialog)
{
    if (context_.runFileDialog)
        return context_.runFileDialog(dialog);
    if (execDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

QFileDialog& ConfigurationEditor::executableDialog()
{
    if (!executableDialog_)
        executableDialog_ =
            openFileDialog(this, "d113", shownLine(executableDialogTitle_), qtext(executableDialogFilter()));
    return *executableDialog_;
}

QFileDialog& ConfigurationEditor::datDialog()
{
    if (!datDialog_)
        datDialog_ = openFileDialog(this, "d125", QString::fromLatin1(kBuiltinDatDialogTitle),
                                    qtext(datDialogFilter()));
    return *datDialog_;
}

QFileDialog& ConfigurationEditor::pictureDialog()
{
    if (!pictureDialog_) {
        // The preview beside the list needs Qt's own dialog.
        pictureDialog_ =
            openFileDialog(this, "D111", shownLine(pictureDialogTitle_), pictureDialogFilter(), true);
        auto* preview = new QLabel(pictureDialog_);
        preview->setObjectName(QStringLiteral("preview"));
        preview->setFixedSize(160, 120);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::Box);
        if (auto* grid = qobject_cast<QGridLayout*>(pictureDialog_->layout()))
            grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
        connect(pictureDialog_, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            try {
                const QImage image = loadPicture(QDir::toNativeSeparators(path).toStdString());
                preview->setPixmap(QPixmap::fromImage(image).scaled(preview->size(), Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation));
            } catch (const std::exception&) {
                preview->clear();
            }
        });
    }
    return *pictureDialog_;
}

void ConfigurationEditor::searchExecutable()
{
    QFileDialog& dialog = executableDialog();
    const std::string directory = directoryPart(emulatorEdit_->text().toStdString());
    if (!directory.empty() && platform::directoryExists(directory))
        dialog.setDirectory(qtext(directory));
    if (const auto path = runDialog(dialog))
        emulatorEdit_->setText(qtext(*path));
}

void ConfigurationEditor::searchDirectory(int row)
{
    if (folderBrowser_.Execute(context_.helpWindow))
        directoryEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(folderBrowser_.Directory));
}

void ConfigurationEditor::defaultDirectory(int row)
{
    const ConfigurationLine& entry = kConfigurationLines.at(static_cast<std::size_t>(4 + row));
    directoryEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(entry.defaultValue));
}

void ConfigurationEditor::searchDatFile(int row)
{
    if (const auto path = runDialog(datDialog()))
        fileEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(*path));
}

void ConfigurationEditor::defaultDatFile(int row)
{
    const ConfigurationLine& entry = kConfigurationLines.at(static_cast<std::size_t>(14 + row));
    fileEdits_.at(static_cast<std::size_t>(row - 1))->setText(qtext(entry.defaultValue));
}

void ConfigurationEditor::showPicture(const QImage& image)
{
    picture_->setPixmap(QPixmap::fromImage(image));
}

void ConfigurationEditor::loadPictureFromDialog()
{
    QFileDialog& dialog = pictureDialog();
    dialog.setDirectory(qtext(joinPath(platform::dataDirectory(), "images")));
    const auto path = runDialog(dialog);
    if (!path)
        return;
    // A picture that fails to load leaves the previous name, so Save never writes a picture
    // that the editor could not open again.
    const QImage image = loadPicture(*path);
    pictureFileName_ = *path;
    showPicture(image);
    pictureFrame_->hide();
    picture_->show();
}

void ConfigurationEditor::clearPicture()
{
    pictureFrame_->show();
    pictureFileName_.clear();
    picture_->clear();
    picture_->hide();
}

void ConfigurationEditor::searchGame()
{
    const std::string directory = gameSearchDirectory(text("dir1"), emulatorEdit_->text().toStdString());
    if (!platform::directoryExists(directory)) {
        messages().plainMessage(missingDirectoryMessage(context_.language, directory));
        return;
    }
    GamePicker& picker = context_.gamePicker;
    picker.setChangeDirectoryVisible(false);
    picker.setZipDirectory(directory);
    picker.showModal();
    if (picker.gameChosen())
        gameEdit_->setText(qtext(fileNamePart(picker.selectedZip())));
}

std::string ConfigurationEditor::dialogTitle(const std::string& name) const
{
    if (name == "D111")
        return pictureDialogTitle_;
    if (name == "d113")
        return executableDialogTitle_;
    if (name == "d114")
        return folderBrowser_.Title;
    if (name == "d125")
        return kBuiltinDatDialogTitle;
    if (name == "d131")
        return saveDialogTitle_;
    return {};
}

// ---- the line binding ----------------------------------------------------------------------

QWidget* ConfigurationEditor::control(std::string_view name) const
{
    if (auto it = named_.find(std::string(name)); it != named_.end())
        return it->second;
    throw std::logic_error("no editor control " + std::string(name));
}

void ConfigurationEditor::setText(std::string_view name, const std::string& value)
{
    qobject_cast<QLineEdit*>(control(name))->setText(qtext(value));
}

void ConfigurationEditor::setFlag(std::string_view name, bool on)
{
    qobject_cast<QCheckBox*>(control(name))->setChecked(on);
}

void ConfigurationEditor::setInteger(std::string_view name, std::int32_t value)
{
    qobject_cast<SpinEdit*>(control(name))->setValue(value);
}

void ConfigurationEditor::setPicture(const std::string& path)
{
    pictureFileName_ = path;
    if (platform::fileExists(path))
        showPicture(loadPicture(path));
}

std::string ConfigurationEditor::text(std::string_view name) const
{
    return qobject_cast<QLineEdit*>(control(name))->text().toStdString();
}

bool ConfigurationEditor::flag(std::string_view name) const
{
    return qobject_cast<QCheckBox*>(control(name))->isChecked();
}

std::int32_t ConfigurationEditor::integer(std::string_view name) const
{
    return qobject_cast<SpinEdit*>(control(name))->value();
}

std::string ConfigurationEditor::picture() const
{
    return pictureFileName_;
}

} // namespace arcavio
