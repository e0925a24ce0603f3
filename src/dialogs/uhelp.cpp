#include "dialogs/uhelp.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "app/language.h"
#include "app/messages.h"
#include "components/showntext.h"
#include "dialogs/helptext.h"
#include "platform/filesystem.h"

namespace arcavio {
namespace {

constexpr const char* kHelpFile = "help.ini";

QString joinedLines(const LineList& lines)
{
    QStringList joined;
    joined.reserve(lines.count());
    for (const std::string& line : lines.lines())
        joined.append(QString::fromStdString(line));
    return joined.join(QLatin1Char('\n'));
}

QFont helpFont()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier"), Qt::CaseInsensitive)
                     ? QFont(QStringLiteral("Courier"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

} // namespace

Tc129::Tc129(const Language& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("c129"));
    setWindowTitle(QStringLiteral("HELP"));
    setSizeGripEnabled(false);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(helpFont());
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    Memo1->setPalette(palette);
    Memo1->setPlainText(joinedLines(builtinHelpText()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);

    // Offscreen and before the first show the frame is unknown; applyOuterSize corrects it.
    resize(kOuterWidth, kOuterHeight);

    guarded([&] {
        if (platform::fileExists(kHelpFile))
            Memo1->setPlainText(joinedLines(
                withLongLinesBroken(LineList::loadFromFile(kHelpFile, platform::kHelpFileLimit))));
        if (language.loaded())
            setWindowTitle(shownLine(language.line(129)));
    });
}

void Tc129::ShowModal()
{
    exec();
}

bool Tc129::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    switch (event->type()) {
    case QEvent::Show:
        if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(kOuterWidth / 2, kOuterHeight / 2));
        applyOuterSize();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        applyOuterSize();
        break;
    default:
        break;
    }
    return handled;
}

void Tc129::applyOuterSize()
{
    if (outerSizeApplied_ || !isVisible())
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty())
        return;
    outerSizeApplied_ = true;
    resize(QSize(kOuterWidth, kOuterHeight) - frame);
}

} // namespace arcavio
