#include "games/selectgamedialog.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringListModel>
#include <algorithm>

#include "base/language.h"
#include "base/messages.h"
#include "components/selectionkeepinglist.h"
#include "components/showntext.h"
#include "components/windowplacement.h"
#include "games/addgamedialog.h"
#include "games/gamelist.h"
#include "games/modaldialog.h"
#include "text/paths.h"

namespace arcavio {

SelectGameDialog::SelectGameDialog(const Language& language, QWidget* parent)
    : QDialog(parent), language_(language), gameListPath_(defaultGameListPath()),
      c139(new QLabel(qtext(builtinText(139)), this)), c136(new QPushButton(qtext(builtinText(136)), this)),
      gamelist(new SelectionKeepingList<QListView>(this)), rows_(new QStringListModel(this)),
      C135(new QCheckBox(qtext(builtinText(135)), this)),
      c158(new QPushButton(qtext(builtinText(158)), this)),
      c137(new QPushButton(qtext(builtinText(137)), this)),
      c138(new QPushButton(qtext(builtinText(138)), this))
{
    setObjectName("c134");
    setWindowTitle(QStringLiteral("Select Game"));
    setFixedSize(396, 346);
    t160.Title = std::string(builtinText(160));

    c139->setObjectName("c139");
    c136->setObjectName("c136");
    gamelist->setObjectName("gamelist");
    C135->setObjectName("C135");
    c158->setObjectName("c158");
    c137->setObjectName("c137");
    c138->setObjectName("c138");

    c139->setTextFormat(Qt::PlainText);
    for (QPushButton* button : {c136, c158, c137, c138}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    c139->move(8, 10);
    c139->adjustSize();
    c136->setGeometry(288, 2, 100, 25);
    gamelist->setGeometry(13, 32, 369, 265);
    C135->setGeometry(8, 318, 105, 17);
    c158->setGeometry(112, 312, 115, 25);
    c137->setGeometry(232, 312, 75, 25);
    c138->setGeometry(312, 312, 75, 25);
    c158->hide();

    gamelist->setModel(rows_);
    gamelist->setUniformItemSizes(true);
    gamelist->setSelectionMode(QAbstractItemView::SingleSelection);
    gamelist->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gamelist->viewport()->installEventFilter(this);

    setTabOrder(gamelist, C135);
    setTabOrder(C135, c138);
    setTabOrder(c138, c136);
    setTabOrder(c136, c137);
    setTabOrder(c137, c158);

    connect(gamelist->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = gamelist->selectionModel()->selectedRows();
        filelistIndex_ = selected.isEmpty() ? -1 : selected.first().row();
    });
    connect(C135, &QCheckBox::toggled, this, [this](bool ticked) {
        guarded([&] {
            if (ticked)
                fillList(true);
            else
                showNamedList();
        });
    });
    connect(c138, &QPushButton::clicked, this, [this] { guarded([this] { confirm(); }); });
    connect(c137, &QPushButton::clicked, this, &QDialog::reject);
    connect(c158, &QPushButton::clicked, this, [this] { guarded([this] { changeDirectory(); }); });
    connect(c136, &QPushButton::clicked, this, [this] { guarded([this] { addGame(); }); });

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
    const int boxNeeds = C135->sizeHint().width();
    C135->setGeometry(8, 318, std::max(105, boxNeeds), 17);
    // The check box's designed frame reaches 1 pixel under Change Directory; only a text that
    // does not fit in it pushes the buttons.
    int next = boxNeeds > 105 ? C135->x() + boxNeeds + kGap : 0;
    if (!c158->isHidden()) {
        c158->setGeometry(std::max(112, next), 312, buttonWidthFor(c158, 115), 25);
        next = c158->x() + c158->width() + kGap;
    }
    c137->setGeometry(std::max(232, next), 312, buttonWidthFor(c137, 75), 25);
    c138->setGeometry(std::max(312, c137->x() + c137->width() + kGap), 312, buttonWidthFor(c138, 75), 25);

    const int addWidth = buttonWidthFor(c136, 100);
    const int width = std::max({396, c138->x() + c138->width() + 9, 8 + c139->width() + kGap + addWidth + 8});
    setFixedSize(width, 346);
    gamelist->setGeometry(13, 32, width - 27, 265);
    c136->setGeometry(width - 8 - addWidth, 2, addWidth, 25);
}

void SelectGameDialog::applyLanguage(const Language& language)
{
    if (!language.loaded())
        return;
    const auto text = [&](int line) { return shownLine(language.line(line)); };
    C135->setText(text(135));
    c136->setText(text(136));
    c137->setText(text(137));
    c138->setText(text(138));
    c139->setText(text(139));
    c139->adjustSize();
    c158->setText(text(158));
    t160.Title = language.line(160);
}

void SelectGameDialog::setZipDirectory(const std::string& directory)
{
    Ziplist.setDirectory(directory);
}

void SelectGameDialog::refreshZipListing()
{
    Ziplist.refresh();
}

void SelectGameDialog::setChangeDirectoryVisible(bool visible)
{
    c158->setVisible(visible);
    fitToTexts();
}

std::string SelectGameDialog::selectedZip() const
{
    if (filelistIndex_ < 0 || filelistIndex_ >= static_cast<int>(filelist.size()))
        return {};
    return filelist[static_cast<std::size_t>(filelistIndex_)];
}

void SelectGameDialog::prepareForShowing()
{
    {
        // Clearing the box would build the named list once more through its handler.
        const QSignalBlocker quiet(C135);
        C135->setChecked(false);
    }
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
    if (C135->isChecked()) {
        const QSignalBlocker quiet(C135);
        C135->setChecked(false);
    }
    fillList(false);
}

void SelectGameDialog::rebuild()
{
    if (C135->isChecked())
        fillList(true);
    else
        showNamedList();
}

void SelectGameDialog::fillList(bool showAll)
{
    filelist.clear();
    filelistIndex_ = -1;
    GameRows rows;
    try {
        rows = buildGameRows(Ziplist.names(), gameListPath_, showAll);
    } catch (...) {
        rows_->setStringList({});
        throw;
    }
    QStringList names;
    names.reserve(static_cast<qsizetype>(rows.names.size()));
    for (const std::string& name : rows.names)
        names.append(shownLine(name));
    rows_->setStringList(names);
    filelist = std::move(rows.zips);
}

void SelectGameDialog::confirm()
{
    if (filelistIndex_ < 0 || !gamelist->selectionModel()->hasSelection()) {
        messages().plainMessage(language_.text(149));
        return;
    }
    GameChosen = true;
    accept();
}

void SelectGameDialog::changeDirectory()
{
    if (!t160.Execute(this))
        return;
    ChosenDirectory = t160.Directory;
    Ziplist.setDirectory(ChosenDirectory);
    rebuild();
}

void SelectGameDialog::addGame()
{
    if (addGame_ == nullptr)
        return;
    addGame_->clearEdits();
    addGame_->showModal();
    if (!addGame_->AddConfirmed)
        return;
    setGameListEntry(gameListPath_, removeExtension(addGame_->zipText()), addGame_->gameText());
    rebuild();
}

// A click below the last row keeps the selected game.
bool SelectGameDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == gamelist->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!gamelist->indexAt(mouse->position().toPoint()).isValid())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SelectGameDialog::keyPressEvent(QKeyEvent* event)
{
    if (isDialogClosingKey(event)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace arcavio
