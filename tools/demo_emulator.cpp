// What `make run` starts instead of an emulator: it shows the game it was asked for and the
// option file it found in its working directory, then closes after a few seconds or on a key.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int kSecondsOpen = 8;

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
