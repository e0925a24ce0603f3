#include "app/uprincipal.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>

#include "app/helpmessages.h"
#include "app/messages.h"
#include "components/picture.h"
#include "platform/filesystem.h"

namespace arcavio {
namespace {

constexpr int kClientWidth = 510;
constexpr int kClientHeight = 298;
constexpr int kStatusBarHeight = 19;

QString qs(const std::string& text) { return QString::fromStdString(text); }
QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

QAction* separator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint),
      list_(platform::currentDirectory())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qs(builtinText(0)));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    buildControls();
    buildMenus();
    move(194, 112);

    guarded([this] { refreshList(); });
    // The creation handler: the first error ends it.
    guarded([this] {
        languageStep();
        skinStep();
    });
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    setCentralWidget(client);

    back_ = new QLabel(client);
    back_->setObjectName(QStringLiteral("back"));
    back_->setGeometry(0, 0, kClientWidth, kClientHeight - kStatusBarHeight);
    back_->setScaledContents(true);
    back_->lower();

    lista_ = new QListWidget(client);
    lista_->setObjectName(QStringLiteral("lista"));
    lista_->setGeometry(192, 3, 305, 276);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setUniformItemSizes(true);
    lista_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lista_, &QListWidget::currentRowChanged, this, [this](int) { guarded([this] { selectionChanged(); }); });
    connect(lista_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { emit runRequested(); });

    Image1_ = new QLabel(client);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setGeometry(16, 136, 160, 120);
    Image1_->setScaledContents(true);

    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setFixedHeight(kStatusBarHeight);
    bar->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
    statusPanel_->setTextFormat(Qt::PlainText);
    bar->addWidget(statusPanel_, 1);
}

QAction* TForm1::addCommand(QMenu* menu, const char* name, const char* caption, void (TForm1::*signal)())
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (signal != nullptr)
        connect(action, &QAction::triggered, this, [this, signal] { emit(this->*signal)(); });
    return action;
}

void TForm1::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(qs(builtinText(1)));
    file->setObjectName(QStringLiteral("C1"));
    file->menuAction()->setObjectName(QStringLiteral("C1"));
    QAction* newConfig = addCommand(file, "C2", "New Configuration", &TForm1::newConfigurationRequested);
    newConfig->setShortcut(QKeySequence(Qt::Key_F2));
    addCommand(file, "c148", "Kwikstart", &TForm1::kwikstartRequested);
    separator(file, "N2");
    QAction* refresh = addCommand(file, "c15", "Refresh", nullptr);
    refresh->setShortcut(QKeySequence(Qt::Key_F12));
    connect(refresh, &QAction::triggered, this, [this] { guarded([this] { refreshList(); }); });
    separator(file, "N3");
    QAction* quit = addCommand(file, "c16", "Quit", nullptr);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* configuration = bar->addMenu(qs(builtinText(4)));
    configuration->setObjectName(QStringLiteral("C4"));
    configuration->menuAction()->setObjectName(QStringLiteral("C4"));
    QAction* run = addCommand(configuration, "c5", "Run", &TForm1::runRequested);
    run->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    QAction* edit = addCommand(configuration, "c6", "Edit", &TForm1::editRequested);
    edit->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)});
    QAction* exclude = addCommand(configuration, "c7", "Exclude", &TForm1::excludeRequested);
    exclude->setShortcut(QKeySequence(Qt::Key_Delete));

    QMenu* help = bar->addMenu(qs(builtinText(8)));
    help->setObjectName(QStringLiteral("c8"));
    help->menuAction()->setObjectName(QStringLiteral("c8"));
    connect(addCommand(help, "c9", "Technical Help", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(technicalHelpText()); }); });
    connect(addCommand(help, "c10", "Suggestion", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(suggestionText()); }); });
    separator(help, "N1");
    addCommand(help, "c11", "About AVO", &TForm1::aboutRequested);
    connect(addCommand(help, "c12", "About MAME", nullptr), &QAction::triggered, this,
            [] { guarded([] { messages().plainMessage(aboutEmulatorText()); }); });
    connect(addCommand(help, "c13", "About the Language File", nullptr), &QAction::triggered, this,
            [this] { guarded([this] { messages().plainMessage(aboutLanguageText(lang)); }); });
    connect(addCommand(help, "c14", "About the Skin", nullptr), &QAction::triggered, this,
            [this] { guarded([this] { messages().plainMessage(skinAboutText); }); });

    // The popup's captions are fixed: the language file does not reach them.
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    addCommand(popup, "c153", "Run", &TForm1::runRequested);
    addCommand(popup, "c154", "Edit", &TForm1::editRequested);
    addCommand(popup, "c155", "Exclude", &TForm1::excludeRequested);
    separator(popup, "N5");
    addCommand(popup, "c156", "New Configuration", &TForm1::newConfigurationRequested);
    connect(addCommand(popup, "c157", "Refresh", nullptr), &QAction::triggered, this,
            [this] { guarded([this] { refreshList(); }); });
    connect(lista_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(lista_->viewport()->mapToGlobal(at)); });

    // Shortcuts act while any child has the focus, the list included.
    for (QAction* action : findChildren<QAction*>())
        action->setShortcutContext(Qt::WindowShortcut);
    addActions(file->actions() + configuration->actions());
}

void TForm1::languageStep()
{
    if (!platform::fileExists("language.ini"))
        return;
    lang.setLines(LineList::loadFromFile("language.ini"));
    for (const int line : kMainWindowLanguageOrder)
        applyLanguageLine(line, qs(lang.line(line)));
}

void TForm1::applyLanguageLine(int line, const QString& text)
{
    if (line == 0) {
        setWindowTitle(text);
        return;
    }
    if (line == 113) {
        d113Title_ = text;
        return;
    }
    const QString number = QString::number(line);
    if (line >= 142 && line <= 147) {
        if (auto* button = findChild<QWidget*>(QStringLiteral("h") + number))
            button->setToolTip(text);
        return;
    }
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.size() > 1 && name.mid(1) == number && (name[0] == QLatin1Char('c') || name[0] == QLatin1Char('C'))) {
            action->setText(text);
            if (QMenu* menu = action->menu())
                menu->setTitle(text);
        }
    }
}

void TForm1::skinStep()
{
    skinAboutText = std::string(builtinSkinAboutText());
}

std::string TForm1::selectedFullPath() const
{
    const int row = lista_->currentRow();
    if (row < 0 || lista_->currentItem() == nullptr || !lista_->currentItem()->isSelected())
        return {};
    return list_.fullPath(list_.names()[static_cast<std::size_t>(row)]);
}

std::string TForm1::statusText() const { return statusPanel_->text().toStdString(); }

void TForm1::refreshList()
{
    list_.refresh();
    {
        const QSignalBlocker blocker(lista_);
        lista_->clear();
        QStringList rows;
        rows.reserve(static_cast<int>(list_.names().size()));
        for (const std::string& name : list_.names())
            rows.append(qs(name));
        lista_->addItems(rows);
        lista_->setCurrentRow(-1);
    }
    shownRow_ = -1;
    selectionChanged();
}

void TForm1::selectionChanged()
{
    shownRow_ = lista_->currentRow();
    previewConfiguration(selectedFullPath(), config, *this);
}

void TForm1::clearPicture() { Image1_->clear(); }

void TForm1::setStatusText(const std::string& text) { statusPanel_->setText(qs(text)); }

void TForm1::showPicture(const std::string& path) { Image1_->setPixmap(QPixmap::fromImage(loadPicture(path))); }

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
}

} // namespace arcavio
