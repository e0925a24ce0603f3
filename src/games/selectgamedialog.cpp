#include "games/selectgamedialog.h"

#include <QAbstractListModel>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "base/language.h"
#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/selectionkeepinglist.h"
#include "components/windowplacement.h"
#include "games/addgamedialog.h"
#include "games/gamelist.h"
#include "platform/filesystem.h"
#include "text/paths.h"

namespace arcavio {
namespace {

QString markTip(SetState state)
{
    switch (state) {
    case SetState::Good:
        return QStringLiteral("Good: it will run");
    case SetState::BestAvailable:
        return QStringLiteral("Best available: it will run; some of its files were never dumped");
    case SetState::Bad:
        return QStringLiteral("Bad: files are missing or wrong");
    case SetState::NotFound:
        break;
    }
    return QStringLiteral("Not found: the emulator found none of its files");
}

// A small disc in the mark's colour; a blank of the same size for a row without a mark, so that
// texts align once any row has one.
const QPixmap& markPicture(std::optional<SetState> mark)
{
    static QPixmap pictures[5];
    const std::size_t which = mark ? static_cast<std::size_t>(*mark) : 4;
    if (pictures[which].isNull()) {
        static const QColor colours[] = {QColor(0x2E, 0x9D, 0x2E), QColor(0xE0, 0xA8, 0x00),
                                         QColor(0xD0, 0x30, 0x30), QColor(0x90, 0x90, 0x90)};
        QPixmap pixmap(10, 10);
        pixmap.fill(Qt::transparent);
        if (mark) {
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colours[which]);
            painter.drawEllipse(QRectF(0.5, 0.5, 9, 9));
        }
        pictures[which] = pixmap;
    }
    return pictures[which];
}

} // namespace

// Every row's shown name, of which a find shows some, so that finding never rebuilds the rows;
// with a mark as decoration for each row the set-check cache has a result for. Marks are looked
// up only for the rows that are drawn, so a full collection shows as fast as an unmarked one.
class ShownRows : public QAbstractListModel {
  public:
    ShownRows(const SelectGameDialog& dialog, QObject* parent) : QAbstractListModel(parent), dialog_(dialog)
    {
    }

    void setMarksPossible(bool possible) { marksPossible_ = possible; }

    void setRows(QStringList names)
    {
        beginResetModel();
        names_ = std::move(names);
        showingAll_ = true;
        shown_.clear();
        endResetModel();
    }
    void showAll()
    {
        beginResetModel();
        showingAll_ = true;
        shown_.clear();
        endResetModel();
    }
    // The rows, in order.
    void showOnly(std::vector<std::size_t> rows)
    {
        beginResetModel();
        showingAll_ = false;
        shown_ = std::move(rows);
        endResetModel();
    }

    std::size_t rowAt(int shownRow) const
    {
        return showingAll_ ? static_cast<std::size_t>(shownRow) : shown_[static_cast<std::size_t>(shownRow)];
    }
    // -1 when the row is not shown.
    int shownRowOf(std::size_t row) const
    {
        if (showingAll_)
            return row < static_cast<std::size_t>(names_.size()) ? static_cast<int>(row) : -1;
        const auto at = std::lower_bound(shown_.begin(), shown_.end(), row);
        return at != shown_.end() && *at == row ? static_cast<int>(at - shown_.begin()) : -1;
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        if (parent.isValid())
            return 0;
        return showingAll_ ? static_cast<int>(names_.size()) : static_cast<int>(shown_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const std::size_t row = rowAt(index.row());
        if (role == Qt::DisplayRole)
            return names_[static_cast<qsizetype>(row)];
        if ((role != Qt::DecorationRole && role != Qt::ToolTipRole) || !marksPossible_)
            return {};
        const std::optional<SetState> mark = dialog_.rowMark(static_cast<int>(row));
        if (role == Qt::ToolTipRole)
            return mark ? QVariant(markTip(*mark)) : QVariant();
        return markPicture(mark);
    }

  private:
    const SelectGameDialog& dialog_;
    bool marksPossible_ = false;
    QStringList names_;
    bool showingAll_ = true;
    std::vector<std::size_t> shown_;
};

namespace {

// Text typed to find a game: what the key writes, without a command key held.
bool typesText(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

} // namespace

SelectGameDialog::SelectGameDialog(const Language& language, QWidget* parent)
    : QDialog(parent), language_(language), gameListPath_(defaultGameListPath()),
      prompt_(new QLabel(qtext(builtinText(139)), this)),
      addGameButton_(new QPushButton(qtext(builtinText(136)), this)),
      gameList_(new SelectionKeepingList<QListView>(this)), rows_(new ShownRows(*this, this)),
      findField_(new QLineEdit(this)), showAllZips_(new QCheckBox(qtext(builtinText(135)), this)),
      changeDirectoryButton_(new QPushButton(qtext(builtinText(158)), this)),
      cancelButton_(new QPushButton(qtext(builtinText(137)), this)),
      okButton_(new QPushButton(qtext(builtinText(138)), this)),
      onlyRunnable_(new QAction(QStringLiteral("Only sets that will run"), this))
{
    setCheckCachePath_ = defaultSetCheckCachePath();
    setObjectName("c134");
    setWindowTitle(QStringLiteral("Select Game"));
    setFixedSize(396, 346);
    folderBrowser.Title = std::string(builtinText(160));

    prompt_->setObjectName("c139");
    addGameButton_->setObjectName("c136");
    gameList_->setObjectName("gamelist");
    findField_->setObjectName("gamefind");
    showAllZips_->setObjectName("C135");
    changeDirectoryButton_->setObjectName("c158");
    cancelButton_->setObjectName("c137");
    okButton_->setObjectName("c138");

    prompt_->setTextFormat(Qt::PlainText);
    prompt_->setBuddy(gameList_);
    for (QPushButton* button : {addGameButton_, changeDirectoryButton_, cancelButton_, okButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    prompt_->move(8, 10);
    prompt_->adjustSize();
    addGameButton_->setGeometry(288, 2, 100, 25);
    gameList_->setGeometry(13, 32, 369, 265);
    showAllZips_->setGeometry(8, 318, 105, 17);
    changeDirectoryButton_->setGeometry(112, 312, 115, 25);
    cancelButton_->setGeometry(232, 312, 75, 25);
    okButton_->setGeometry(312, 312, 75, 25);
    changeDirectoryButton_->hide();
    findField_->hide();
    // The list keeps the focus while finding, so its keys still move the selection; a click
    // into the field edits the text there.
    findField_->setFocusPolicy(Qt::ClickFocus);
    findField_->installEventFilter(this);

    gameList_->setModel(rows_);
    gameList_->setUniformItemSizes(true);
    gameList_->setSelectionMode(QAbstractItemView::SingleSelection);
    gameList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gameList_->viewport()->installEventFilter(this);
    gameList_->installEventFilter(this);
    onlyRunnable_->setObjectName("c183");
    onlyRunnable_->setCheckable(true);
    auto* listMenu = new QMenu(this);
    listMenu->addAction(onlyRunnable_);
    gameList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gameList_, &QWidget::customContextMenuRequested, this,
            [this, listMenu](const QPoint& at) { listMenu->popup(gameList_->viewport()->mapToGlobal(at)); });
    connect(onlyRunnable_, &QAction::toggled, this, [this] { applyFind(false); });

    setTabOrder(gameList_, showAllZips_);
    setTabOrder(showAllZips_, okButton_);
    setTabOrder(okButton_, addGameButton_);
    setTabOrder(addGameButton_, cancelButton_);
    setTabOrder(cancelButton_, changeDirectoryButton_);

    connect(gameList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = gameList_->selectionModel()->selectedRows();
        selectedRow_ = selected.isEmpty() ? -1 : static_cast<int>(rows_->rowAt(selected.first().row()));
    });
    connect(findField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            closeFind();
        else
            applyFind(true);
    });
    connect(showAllZips_, &QCheckBox::toggled, this, [this](bool ticked) {
        guarded([&] {
            if (ticked)
                fillList(true);
            else
                showNamedList();
        });
    });
    connect(okButton_, &QPushButton::clicked, this, [this] { guarded([this] { confirm(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(changeDirectoryButton_, &QPushButton::clicked, this,
            [this] { guarded([this] { changeDirectory(); }); });
    connect(addGameButton_, &QPushButton::clicked, this, [this] { guarded([this] { addGame(); }); });

    guarded([&] { applyLanguage(language); });
    fitToTexts();
    auto* placement = new WindowPlacement(this);
    placement->centreOnScreen(WindowPlacement::Showing::Every);
}

// The controls keep their designed sizes and places while their texts fit in them. A text that
// does not fit widens its control, which pushes the controls to its right along and, at the
// end, widens the window; nothing moves for a text that fits.
void SelectGameDialog::fitToTexts()
{
    constexpr int kGap = 5;
    const int boxNeeds = showAllZips_->sizeHint().width();
    showAllZips_->setGeometry(8, 318, std::max(105, boxNeeds), 17);
    // The check box's designed frame reaches 1 pixel under Change Directory; only a text that
    // does not fit in it pushes the buttons.
    int next = boxNeeds > 105 ? showAllZips_->x() + boxNeeds + kGap : 0;
    if (!changeDirectoryButton_->isHidden()) {
        changeDirectoryButton_->setGeometry(std::max(112, next), 312,
                                            buttonWidthFor(changeDirectoryButton_, 115), 25);
        next = changeDirectoryButton_->x() + changeDirectoryButton_->width() + kGap;
    }
    cancelButton_->setGeometry(std::max(232, next), 312, buttonWidthFor(cancelButton_, 75), 25);
    okButton_->setGeometry(std::max(312, cancelButton_->x() + cancelButton_->width() + kGap), 312,
                           buttonWidthFor(okButton_, 75), 25);

    const int addWidth = buttonWidthFor(addGameButton_, 100);
    const int width =
        std::max({396, okButton_->x() + okButton_->width() + 9, 8 + prompt_->width() + kGap + addWidth + 8});
    setFixedSize(width, 346);
    placeList();
    addGameButton_->setGeometry(width - 8 - addWidth, 2, addWidth, 25);
}

void SelectGameDialog::applyLanguage(const Language& language)
{
    if (!language.loaded())
        return;
    const auto text = [&](int line) { return shownLine(language.line(line)); };
    showAllZips_->setText(text(135));
    addGameButton_->setText(text(136));
    cancelButton_->setText(text(137));
    okButton_->setText(text(138));
    setLabelCaption(prompt_, text(139));
    prompt_->adjustSize();
    changeDirectoryButton_->setText(text(158));
    folderBrowser.Title = language.line(160);
    if (language.holds(kOnlyRunnableSetsLine))
        onlyRunnable_->setText(text(kOnlyRunnableSetsLine));
}

void SelectGameDialog::setZipDirectory(const std::string& directory)
{
    zipListing_.setDirectory(directory);
}

void SelectGameDialog::refreshZipListing()
{
    zipListing_.refresh();
}

void SelectGameDialog::setChangeDirectoryVisible(bool visible)
{
    changeDirectoryButton_->setVisible(visible);
    fitToTexts();
}

std::string SelectGameDialog::selectedZip() const
{
    if (selectedRow_ < 0 || selectedRow_ >= static_cast<int>(allZips_.size()))
        return {};
    return allZips_[static_cast<std::size_t>(selectedRow_)];
}

std::vector<std::string> SelectGameDialog::rowZips() const
{
    std::vector<std::string> zips;
    zips.reserve(static_cast<std::size_t>(rows_->rowCount()));
    for (int row = 0; row < rows_->rowCount(); ++row)
        zips.push_back(allZips_[rows_->rowAt(row)]);
    return zips;
}

void SelectGameDialog::prepareForShowing()
{
    {
        // Clearing the box would build the named list once more through its handler.
        const QSignalBlocker quiet(showAllZips_);
        showAllZips_->setChecked(false);
    }
    hideFind();
    showNamedList();
}

void SelectGameDialog::showModal()
{
    guarded([this] { prepareForShowing(); });
    exec();
}

void SelectGameDialog::showNamedList()
{
    GameChosen = false;
    if (showAllZips_->isChecked()) {
        const QSignalBlocker quiet(showAllZips_);
        showAllZips_->setChecked(false);
    }
    fillList(false);
}

void SelectGameDialog::rebuild()
{
    if (showAllZips_->isChecked())
        fillList(true);
    else
        showNamedList();
}

void SelectGameDialog::fillList(bool showAll)
{
    allZips_.clear();
    finder_ = {};
    selectedRow_ = -1;
    GameRows rows;
    try {
        rows = buildGameRows(zipListing_.names(), gameListPath_, showAll);
    } catch (...) {
        rows_->setRows({});
        throw;
    }
    QStringList names;
    names.reserve(static_cast<qsizetype>(rows.names.size()));
    for (const std::string& name : rows.names)
        names.append(shownLine(name));
    finder_ = GameFinder(rows);
    readSetChecks();
    rowMarks_.assign(rows.zips.size(), -2);
    allZips_ = std::move(rows.zips);
    rows_->setRows(std::move(names));
    if (finding() || onlyRunnable_->isChecked())
        applyFind(false);
}

bool SelectGameDialog::finding() const
{
    return !findField_->isHidden();
}

void SelectGameDialog::placeList()
{
    const int width = this->width() - 27;
    if (!finding()) {
        gameList_->setGeometry(13, 32, width, 265);
        return;
    }
    const int fieldHeight = findField_->sizeHint().height();
    gameList_->setGeometry(13, 32, width, 265 - fieldHeight - 2);
    findField_->setGeometry(13, 32 + 265 - fieldHeight, width, fieldHeight);
}

void SelectGameDialog::openFind()
{
    findField_->show();
    placeList();
}

void SelectGameDialog::hideFind()
{
    const bool hadFocus = findField_->hasFocus();
    {
        const QSignalBlocker quiet(findField_);
        findField_->clear();
    }
    findField_->hide();
    placeList();
    if (hadFocus)
        gameList_->setFocus();
}

void SelectGameDialog::closeFind()
{
    hideFind();
    applyFind(false);
}

void SelectGameDialog::applyFind(bool selectFirstMatch)
{
    const int keep = selectedRow_;
    const std::string text = finding() ? findField_->text().toStdString() : std::string();
    const bool onlyRunnable = onlyRunnable_->isChecked();
    if (text.empty() && !onlyRunnable) {
        rows_->showAll();
    } else {
        std::vector<std::size_t> rows;
        if (text.empty()) {
            rows.resize(allZips_.size());
            for (std::size_t row = 0; row < rows.size(); ++row)
                rows[row] = row;
        } else {
            rows = finder_.rowsContaining(text);
        }
        if (onlyRunnable)
            std::erase_if(rows, [this](std::size_t row) {
                const std::optional<SetState> mark = rowMark(static_cast<int>(row));
                return mark && !willRun(*mark);
            });
        rows_->showOnly(std::move(rows));
    }
    int shown = keep < 0 ? -1 : rows_->shownRowOf(static_cast<std::size_t>(keep));
    if (shown < 0 && selectFirstMatch && rows_->rowCount() > 0)
        shown = 0;
    selectedRow_ = -1;
    if (shown >= 0)
        gameList_->setCurrentIndex(rows_->index(shown, 0));
}

// Keys of the list (and of the find field, which hands the list's keys back to it).
bool SelectGameDialog::findKey(QKeyEvent* event)
{
    if (finding() && event->key() == Qt::Key_Escape) {
        closeFind();
        return true;
    }
    if (finding() && event->key() == Qt::Key_Backspace) {
        QCoreApplication::sendEvent(findField_, event);
        return true;
    }
    // A first blank keeps selecting the current row, as the list's own key.
    if (!typesText(event) || (!finding() && event->text().trimmed().isEmpty()))
        return false;
    if (!finding())
        openFind();
    QCoreApplication::sendEvent(findField_, event);
    return true;
}

// Read again only when the file changed, so showing the dialog again costs one look at it.
void SelectGameDialog::readSetChecks()
{
    const std::optional<platform::FileIdentity> file = platform::fileIdentity(setCheckCachePath_);
    const std::optional<SetFileStamp> stamp =
        file ? std::optional<SetFileStamp>(SetFileStamp{file->size, file->modified}) : std::nullopt;
    if (stamp != setChecksRead_) {
        setChecks_ = stamp ? SetCheckCache::read(setCheckCachePath_) : SetCheckCache();
        setChecksRead_ = stamp;
    }
    markFolders_ = splitPathList(zipListing_.listedFolders());
    bool possible = false;
    for (const std::string& folder : markFolders_)
        possible = possible || setChecks_.holdsFolder(folder);
    rows_->setMarksPossible(possible);
}

std::optional<SetState> SelectGameDialog::rowMark(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= rowMarks_.size())
        return std::nullopt;
    std::int8_t& mark = rowMarks_[static_cast<std::size_t>(row)];
    if (mark == -2) {
        mark = -1;
        // The first folder holding the zip gives it, as the listing and the emulator take it.
        for (const std::string& folder : markFolders_) {
            const std::string path = joinPath(folder, allZips_[static_cast<std::size_t>(row)]);
            const std::optional<platform::FileIdentity> file = platform::fileIdentity(path);
            if (!file)
                continue;
            if (const std::optional<SetState> state = setChecks_.newest(path, {file->size, file->modified}))
                mark = static_cast<std::int8_t>(*state);
            break;
        }
    }
    return mark < 0 ? std::nullopt : std::optional<SetState>(static_cast<SetState>(mark));
}

bool SelectGameDialog::onlyRunnableSets() const
{
    return onlyRunnable_->isChecked();
}

void SelectGameDialog::confirm()
{
    if (selectedRow_ < 0 || !gameList_->selectionModel()->hasSelection()) {
        messages().plainMessage(language_.text(149));
        return;
    }
    GameChosen = true;
    accept();
}

void SelectGameDialog::changeDirectory()
{
    if (!folderBrowser.Execute(this))
        return;
    ChosenDirectory = folderBrowser.Directory;
    zipListing_.setDirectory(ChosenDirectory);
    rebuild();
}

void SelectGameDialog::addGame()
{
    if (addGameDialog_ == nullptr)
        return;
    addGameDialog_->clearEdits();
    addGameDialog_->showModal();
    if (!addGameDialog_->AddConfirmed)
        return;
    setGameListEntry(gameListPath_, removeExtension(addGameDialog_->zipText()), addGameDialog_->gameText());
    rebuild();
}

// A click below the last row keeps the selected game.
bool SelectGameDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gameList_ && event->type() == QEvent::KeyPress)
        return findKey(static_cast<QKeyEvent*>(event)) || QDialog::eventFilter(watched, event);
    if (watched == findField_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            closeFind();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(gameList_, key);
            return true;
        default:
            break;
        }
    }
    if (watched == gameList_->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!gameList_->indexAt(mouse->position().toPoint()).isValid())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SelectGameDialog::keyPressEvent(QKeyEvent* event)
{
    if (!ignoreDialogClosingKey(event))
        QDialog::keyPressEvent(event);
}

} // namespace arcavio
