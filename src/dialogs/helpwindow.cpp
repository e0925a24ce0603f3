#include "dialogs/helpwindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/language.h"
#include "base/messages.h"
#include "components/showntext.h"
#include "components/windowplacement.h"
#include "dialogs/helptext.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"

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

HelpWindow::HelpWindow(const Language& language, QWidget* parent)
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

    auto* placement = new WindowPlacement(this);
    placement->setOuterWidth(kOuterWidth);
    placement->setOuterHeight(kOuterHeight);
    placement->centreOnScreen(WindowPlacement::Showing::Every);

    guarded([&] {
        if (platform::fileExists(kHelpFile))
            Memo1->setPlainText(
                joinedLines(withLongLinesBroken(platform::readLines(kHelpFile, platform::kHelpFileLimit))));
        if (language.loaded())
            setWindowTitle(shownLine(language.line(129)));
    });
}

void HelpWindow::ShowModal()
{
    exec();
}

} // namespace arcavio
