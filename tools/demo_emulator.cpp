// What `make run` starts instead of an emulator: it shows the game it was asked for and the
// option file it found in its working directory, then closes after a few seconds or on a key.
// With -listfull it prints the sets it knows, as the emulator does, and opens no window; asked
// for -showconfig or -version it fails at once, so Arcavio treats it as an older emulator.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int kSecondsOpen = 8;

struct DemoSet {
    const char* name;
    const char* description;
};

// The sample sets of demo/roms.txt, and a few the demo ROM folder does not hold.
constexpr DemoSet kSets[] = {
    {"bricklayer", "Brick Layer (set 1)"},
    {"cometbusters", "Comet Busters (World)"},
    {"cometbustersj", "Comet Busters (Japan, \xE3\x82\xB3\xE3\x83\xA1\xE3\x83\x83\xE3\x83\x88)"},
    {"mazechase", "Maze Chase"},
    {"moonpatrol2", "Moon Patrol II: \"Lunar Rover\" Edition (prototype)"},
    {"neonracer", "Neon Racer (Ver. B\xC3\xAAta)"},
    {"neonracerdeluxe2", "Neon Racer Deluxe 2"},
    {"starfury", "Star Fury (World, rev. 2)"},
    {"starfurydeluxevectors", "Star Fury Deluxe Vectors"},
};

// The emulator's wildcards: * and ?, without regard to case.
bool matches(std::string_view name, std::string_view pattern)
{
    if (pattern.empty())
        return name.empty();
    if (pattern.front() == '*')
        return matches(name, pattern.substr(1)) || (!name.empty() && matches(name.substr(1), pattern));
    if (name.empty())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return (pattern.front() == '?' || lower(pattern.front()) == lower(name.front())) &&
           matches(name.substr(1), pattern.substr(1));
}

// The sets matching any of the patterns (all without one), each name left-aligned in 17
// columns; exit code 5 when none matches.
int listFull(int count, char** patterns)
{
    std::string out = "Name:             Description:\n";
    bool any = false;
    for (const DemoSet& set : kSets) {
        bool wanted = count == 0;
        for (int i = 0; i < count && !wanted; ++i)
            wanted = matches(set.name, patterns[i]);
        if (!wanted)
            continue;
        any = true;
        std::string name = set.name;
        if (name.size() < 17)
            name.resize(17, ' ');
        out += name + " \"" + set.description + "\"\n";
    }
    if (!any) {
        std::fprintf(stderr, "No matching systems found for '%s'\n", patterns[0]);
        return 5;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

class DemoWindow final : public QWidget {
  public:
    DemoWindow(const QString& game, const QStringList& options, const QString& optionFile)
    {
        setObjectName("demo");
        setWindowTitle("Demo emulator");
        auto* layout = new QVBoxLayout(this);
        auto* gameLabel = new QLabel(this);
        gameLabel->setObjectName("game");
        gameLabel->setTextFormat(Qt::PlainText);
        gameLabel->setText(game.isEmpty() ? QStringLiteral("No game was given.")
                                          : QStringLiteral("Running the game: ") + game);
        QFont big = gameLabel->font();
        big.setPointSizeF(big.pointSizeF() * 1.6);
        gameLabel->setFont(big);
        layout->addWidget(gameLabel);

        auto* optionLabel = new QLabel(this);
        optionLabel->setTextFormat(Qt::PlainText);
        optionLabel->setText(QStringLiteral("Options: ") +
                             (options.isEmpty() ? QStringLiteral("none") : options.join(' ')));
        layout->addWidget(optionLabel);

        auto* fileLabel = new QLabel(this);
        fileLabel->setTextFormat(Qt::PlainText);
        fileLabel->setText(QStringLiteral("mame.ini in ") + QDir::currentPath() + ':');
        layout->addWidget(fileLabel);

        auto* text = new QPlainTextEdit(this);
        text->setObjectName("optionFile");
        text->setReadOnly(true);
        text->setPlainText(optionFile);
        text->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(text, 1);

        countdown_ = new QLabel(this);
        countdown_->setTextFormat(Qt::PlainText);
        layout->addWidget(countdown_);
        showRemaining();

        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            if (--remaining_ <= 0)
                close();
            else
                showRemaining();
        });
        timer->start(1000);
        resize(520, 640);
    }

  protected:
    void keyPressEvent(QKeyEvent*) override { close(); }

  private:
    void showRemaining()
    {
        countdown_->setText(QStringLiteral("Closing in %1 s, or press any key.").arg(remaining_));
    }

    QLabel* countdown_ = nullptr;
    int remaining_ = kSecondsOpen;
};

} // namespace

int main(int argc, char** argv)
{
    // Before any window system is touched: listing works without a display.
    if (argc > 1 && std::strcmp(argv[1], "-listfull") == 0)
        return listFull(argc - 2, argv + 2);
    // Asked what it is, it answers as no recent MAME does: it is the old emulator it stands for.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-showconfig") == 0 || std::strcmp(argv[i], "-version") == 0)
            return 1;
    QApplication app(argc, argv);
    QString game;
    QStringList options;
    for (const QString& argument : app.arguments().mid(1)) {
        if (argument.startsWith('-'))
            options << argument;
        else if (game.isEmpty())
            game = argument;
    }
    QString optionFile = QStringLiteral("(no mame.ini here)");
    QFile file(QStringLiteral("mame.ini"));
    if (file.open(QIODevice::ReadOnly))
        optionFile = QString::fromUtf8(file.readAll());
    DemoWindow window(game, options, optionFile);
    window.show();
    return app.exec();
}
