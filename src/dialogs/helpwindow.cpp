#include "dialogs/helpwindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/language.h"
#include "base/messages.h"
#include "base/qthelpers.h"
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
        joined.append(qtext(line));
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

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setFont(helpFont());
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    text_->setPalette(palette);
    text_->setPlainText(joinedLines(builtinHelpText()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);

    auto* placement = new WindowPlacement(this);
    placement->setOuterWidth(kOuterWidth);
    placement->setOuterHeight(kOuterHeight);
    placement->centreOnScreen(WindowPlacement::Showing::Every);

    guarded([&] {
        const std::string file = platform::findEntryIgnoringCase("", kHelpFile, platform::EntryKind::File);
        if (platform::fileExists(file))
            text_->setPlainText(
                joinedLines(withLongLinesBroken(platform::readLines(file, platform::kHelpFileLimit))));
        if (language.loaded())
            setWindowTitle(shownLine(language.line(129)));
    });
}

void HelpWindow::showModal()
{
    exec();
}

} // namespace arcavio
