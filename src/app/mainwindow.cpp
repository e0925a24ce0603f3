#include "app/mainwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStatusBar>

#include "app/helpmessages.h"
#include "app/mainwindowskin.h"
#include "base/messages.h"
#include "base/qthelpers.h"
#include "components/builtinbuttons.h"
#include "components/picture.h"
#include "components/regionbutton.h"
#include "components/selectionkeepinglist.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"
#include "text/encoding.h"
#include "text/errors.h"
#include "text/paths.h"

namespace arcavio {
namespace {

constexpr int kClientWidth = 510;
constexpr int kClientHeight = 298;
constexpr int kStatusBarHeight = 19;
constexpr QPoint kDesignedPosition(194, 112);

struct CommandButton {
    const char* name;
    int left, top;
    ButtonSymbol symbol;
    void (MainWindow::*clicked)();
};

const CommandButton kCommandButtons[] = {
    {"h142", 23, 16, ButtonSymbol::Run, &MainWindow::runRequested},
    {"h143", 79, 16, ButtonSymbol::Edit, &MainWindow::editRequested},
    {"h144", 135, 16, ButtonSymbol::Exclude, &MainWindow::excludeRequested},
    {"h145", 23, 64, ButtonSymbol::New, &MainWindow::newConfigurationRequested},
    {"h146", 79, 64, ButtonSymbol::Refresh, &MainWindow::refreshRequested},
    {"h147", 135, 64, ButtonSymbol::Kwikstart, &MainWindow::kwikstartRequested},
};

QAction* separator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

std::string MainWindow::defaultSkinDirectory()
{
    return skinDirectoryIn(platform::dataDirectory());
}

MainWindow::MainWindow(QWidget* parent, std::string skinDirectory)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      configurationList_(platform::currentDirectory()), skinDirectory_(std::move(skinDirectory)),
      placement_(new WindowPlacement(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qtext(builtinText(0)));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    excludeDeletion_.Operation = opDelete;
    buildControls();
    skin_ = std::make_unique<MainWindowSkin>(
        MainWindowSkin::Controls{commandButtons_, configurationView_, preview_, background_, placement_});
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    placement_->setInnerSizer([this](QSize inner) { setInnerSize(inner); });
    placement_->setOuterPosition(kDesignedPosition);

    guarded([this] { refreshList(); });
    // The creation handler: the first error ends it.
    guarded([this] {
        languageStep();
        skinStep();
    });
}

MainWindow::~MainWindow() = default;

const std::string& MainWindow::skinAboutText() const
{
    return skin_->aboutText();
}

bool MainWindow::regionRefresh() const
{
    return skin_->regionRefresh();
}

void MainWindow::buildControls()
{
    auto* client = new QWidget(this);
    client_ = client;
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    setCentralWidget(client);

    background_ = new QLabel(client);
    background_->setObjectName(QStringLiteral("back"));
    background_->setGeometry(0, 0, kClientWidth, kClientHeight - kStatusBarHeight);
    background_->setScaledContents(true);
    background_->lower();

    // Pictures lie beneath every control, as the toolkit of the design draws them on their parent:
    // wherever a skin puts the picture, the buttons and the list show and take their clicks.
    preview_ = new QLabel(client);
    preview_->setObjectName(QStringLiteral("Image1"));
    preview_->setGeometry(16, 136, 160, 120);
    preview_->setScaledContents(true);

    configurationView_ = new SelectionKeepingList<QListWidget>(client);
    configurationView_->setObjectName(QStringLiteral("lista"));
    configurationView_->setGeometry(192, 3, 305, 276);
    configurationView_->setSelectionMode(QAbstractItemView::SingleSelection);
    configurationView_->setUniformItemSizes(true);
    configurationView_->setContextMenuPolicy(Qt::CustomContextMenu);
    configurationView_->installEventFilter(this);
    // Selection, not the current row, decides: a click moves the current row before it selects.
    connect(configurationView_, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedRow() != previewedRow_)
            guarded([this] { selectionChanged(); });
    });
    configurationView_->viewport()->installEventFilter(this);

    buildButtons(client);

    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
    statusPanel_->setTextFormat(Qt::PlainText);
    bar->addWidget(statusPanel_, 1);
}

void MainWindow::buildButtons(QWidget* client)
{
    std::size_t index = 0;
    for (const CommandButton& entry : kCommandButtons) {
        auto* button = new RegionButton(client);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->move(entry.left, entry.top);
        button->setPicIdle(builtinButtonPicture(entry.symbol, ButtonState::Rest));
        button->setPicDown(builtinButtonPicture(entry.symbol, ButtonState::Pressed));
        button->setPicUp(builtinButtonPicture(entry.symbol, ButtonState::PointerOver));
        button->setPaintMode(pmCrop);
        button->setToolTip(plainToolTip(qtext(builtinText(142 + static_cast<int>(index)))));
        button->OnClick = [this, clicked = entry.clicked] { emit(this->*clicked)(); };
        commandButtons_[index++] = button;
    }
    connect(this, &MainWindow::refreshRequested, this, [this] { guarded([this] { refreshList(); }); });
    connect(this, &MainWindow::excludeRequested, this, [this] { guarded([this] { excludeSelected(); }); });
}

QAction* MainWindow::addCommand(QMenu* menu, const char* name, std::string_view caption,
                                void (MainWindow::*signal)())
{
    QAction* action = menu->addAction(qtext(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (signal != nullptr)
        connect(action, &QAction::triggered, this, [this, signal] { emit(this->*signal)(); });
    return action;
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(qtext(builtinText(1)));
    file->setObjectName(QStringLiteral("C1"));
    file->menuAction()->setObjectName(QStringLiteral("C1"));
    QAction* newConfig = addCommand(file, "C2", "New Configuration", &MainWindow::newConfigurationRequested);
    newConfig->setShortcut(QKeySequence(Qt::Key_F2));
    addCommand(file, "c148", "Kwikstart", &MainWindow::kwikstartRequested);
    addCommand(file, "c166", builtinText(kImportNamesLine), &MainWindow::importNamesRequested);
    addCommand(file, "c167", builtinText(kCheckSetsLine), &MainWindow::checkSetsRequested);
    separator(file, "N2");
    QAction* refresh = addCommand(file, "c15", "Refresh", &MainWindow::refreshRequested);
    refresh->setShortcut(QKeySequence(Qt::Key_F12));
    separator(file, "N3");
    QAction* quit = addCommand(file, "c16", "Quit", nullptr);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* configuration = bar->addMenu(qtext(builtinText(4)));
    configuration->setObjectName(QStringLiteral("C4"));
    configuration->menuAction()->setObjectName(QStringLiteral("C4"));
    QAction* run = addCommand(configuration, "c5", "Run", &MainWindow::runRequested);
    // The menu shows the first of the two: "Enter", where Key_Return would read "Return".
    run->setShortcuts({QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return)});
    QAction* edit = addCommand(configuration, "c6", "Edit", &MainWindow::editRequested);
    edit->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Enter), QKeySequence(Qt::SHIFT | Qt::Key_Return)});
    QAction* exclude = addCommand(configuration, "c7", "Exclude", &MainWindow::excludeRequested);
    exclude->setShortcut(QKeySequence(Qt::Key_Delete));

    QMenu* help = bar->addMenu(qtext(builtinText(8)));
    help->setObjectName(QStringLiteral("c8"));
    help->menuAction()->setObjectName(QStringLiteral("c8"));
    connect(addCommand(help, "c9", "Technical Help", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(technicalHelpText()); }); });
    connect(addCommand(help, "c10", "Suggestion", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(suggestionText()); }); });
    separator(help, "N1");
    addCommand(help, "c11", "About AVO", &MainWindow::aboutRequested);
    connect(addCommand(help, "c12", "About MAME", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(aboutEmulatorText()); }); });
    connect(addCommand(help, "c13", "About the Language File", nullptr), &QAction::triggered, this,
            [this] { guarded([this] { messages().plainMessage(aboutLanguageText(language)); }); });
    connect(addCommand(help, "c14", "About the Skin", nullptr), &QAction::triggered, this,
            [this] { guarded([this] { messages().plainMessage(skinAboutText()); }); });

    // The popup's captions are fixed: the language file does not reach them.
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    addCommand(popup, "c153", "Run", &MainWindow::runRequested);
    addCommand(popup, "c154", "Edit", &MainWindow::editRequested);
    addCommand(popup, "c155", "Exclude", &MainWindow::excludeRequested);
    separator(popup, "N5");
    addCommand(popup, "c156", "New Configuration", &MainWindow::newConfigurationRequested);
    addCommand(popup, "c157", "Refresh", &MainWindow::refreshRequested);
    connect(configurationView_, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        popup->popup(configurationView_->viewport()->mapToGlobal(at));
    });

    // Shortcuts act while any child has the focus, the list included.
    for (QAction* action : findChildren<QAction*>())
        action->setShortcutContext(Qt::WindowShortcut);
    addActions(file->actions() + configuration->actions());
}

void MainWindow::languageStep()
{
    const std::string file = platform::findEntryIgnoringCase("", "language.ini", platform::EntryKind::File);
    if (!platform::fileExists(file))
        return;
    language.setLines(platform::readLines(file, platform::kLanguageFileLimit));
    for (const int line : kMainWindowLanguageOrder)
        applyLanguageLine(line, shownLine(language.line(line)));
    for (const int line : {kImportNamesLine, kCheckSetsLine})
        if (language.holds(line))
            applyLanguageLine(line, shownLine(language.line(line)));
}

void MainWindow::applyLanguageLine(int line, const QString& text)
{
    if (line == 0) {
        setWindowTitle(text);
        return;
    }
    if (line == 113) {
        emulatorFileDialog.setTitle(text);
        return;
    }
    const QString number = QString::number(line);
    if (line >= 142 && line <= 147) {
        commandButtons_[static_cast<std::size_t>(line - 142)]->setToolTip(plainToolTip(text));
        return;
    }
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.size() > 1 && name.mid(1) == number &&
            (name[0] == QLatin1Char('c') || name[0] == QLatin1Char('C'))) {
            action->setText(text);
            if (QMenu* menu = action->menu())
                menu->setTitle(text);
        }
    }
}

void MainWindow::skinStep()
{
    applySkin(skinDirectory_, *skin_);
}

int MainWindow::selectedRow() const
{
    const QList<QListWidgetItem*> selected = configurationView_->selectedItems();
    return selected.isEmpty() ? -1 : configurationView_->row(selected.front());
}

std::string MainWindow::selectedFullPath() const
{
    const int row = selectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= configurationList_.names().size())
        return {};
    return configurationList_.fullPath(configurationList_.names()[static_cast<std::size_t>(row)]);
}

std::string MainWindow::statusText() const
{
    return statusPanel_->text().toStdString();
}

void MainWindow::refreshList()
{
    configurationList_.refresh();
    {
        const QSignalBlocker blocker(configurationView_);
        configurationView_->clear();
        QStringList rows;
        rows.reserve(static_cast<int>(configurationList_.names().size()));
        for (const std::string& name : configurationList_.names())
            rows.append(shownLine(decodeFileName(name)));
        configurationView_->addItems(rows);
        configurationView_->setCurrentRow(-1);
    }
    selectionChanged();
}

void MainWindow::excludeSelected()
{
    const std::string path = selectedFullPath();
    if (path.empty() || !platform::fileExists(path))
        return;
    excludeDeletion_.SourceFiles = LineList{path};
    excludeDeletion_.Execute();
    refreshList();
}

void MainWindow::selectionChanged()
{
    previewedRow_ = selectedRow();
    previewConfiguration(selectedFullPath(), configurationLines, *this);
}

void MainWindow::clearPicture()
{
    preview_->clear();
}

void MainWindow::setStatusText(const std::string& text)
{
    statusPanel_->setText(shownLine(text));
}

void MainWindow::showPicture(const std::string& path)
{
    preview_->setPixmap(QPixmap::fromImage(loadPicture(path)));
}

// Qt makes the first row current, unselected, when the list takes the focus; the first arrow
// key would then skip it. Without a selection there is no current row, so Down selects row 0.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click below the last row leaves the selection alone, and a double click anywhere in the
    // list runs the selected configuration.
    if (watched == configurationView_->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonDblClick) {
            emit runRequested();
            return true;
        }
        if (!configurationView_->indexAt(mouse->position().toPoint()).isValid())
            return true;
    }
    const bool handled = QMainWindow::eventFilter(watched, event);
    if (watched == configurationView_ && event->type() == QEvent::FocusIn &&
        configurationView_->selectedItems().isEmpty())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (configurationView_->selectedItems().isEmpty())
                    configurationView_->selectionModel()->clearCurrentIndex();
            },
            Qt::QueuedConnection);
    return handled;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!regionRefresh())
        return;
    for (RegionButton* button : commandButtons_) {
        button->setPaintMode(pmNormal);
        button->setPaintMode(pmCrop);
    }
}

// The menu bar and the status bar keep their heights; the client area takes the rest.
void MainWindow::setInnerSize(QSize inner)
{
    const QSize around = size() - client_->size();
    const int width = std::max(0, inner.width() - around.width());
    const int height = std::max(0, inner.height() - around.height());
    client_->setFixedSize(width, height);
    background_->setGeometry(0, 0, width, height);
    adjustSize();
}

} // namespace arcavio
