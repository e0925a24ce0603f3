#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "base/language.h"
#include "dialogs/helptext.h"
#include "dialogs/helpwindow.h"
#include "platform/readlimits.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

using namespace arcavio;
using arcavio::test::CurrentDirectory;
using arcavio::test::RecordingMessages;
using arcavio::test::runModal;
using arcavio::test::TempDir;

namespace {

const QString kTitleLine = QStringLiteral("HELP FILE FOR ARCAVIO 2 - HELP FILE 1.0 - BUILD IN EXE");

Language languageOf(int lineCount)
{
    std::vector<std::string> lines(static_cast<std::size_t>(lineCount), "x");
    if (lineCount > 129)
        lines[129] = "AYUDA";
    return Language(LineList(std::move(lines)));
}

class HelpWindowTest : public ::testing::Test {
  protected:
    QString shownText(const HelpWindow& window)
    {
        return window.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    }

    RecordingMessages messages;
    TempDir dir;
    CurrentDirectory inDir{dir.path()};
    Language noLanguage;
};

} // namespace

TEST_F(HelpWindowTest, ShowsHelpIniFromTheWorkingDirectoryAsPlainText)
{
    dir.write("help.ini", "Ayuda en espa\xf1ol\r\n<b>l\xednea</b> 2\r\n\r\n");
    HelpWindow window(noLanguage);
    EXPECT_EQ(shownText(window), QString::fromUtf8("Ayuda en español\n<b>línea</b> 2\n"));
    EXPECT_TRUE(messages.errors.empty());

    // Read at creation only: a later change is seen at the next start.
    dir.write("help.ini", "changed");
    EXPECT_EQ(shownText(window), QString::fromUtf8("Ayuda en español\n<b>línea</b> 2\n"));
    EXPECT_EQ(shownText(HelpWindow(noLanguage)), "changed");
}

TEST_F(HelpWindowTest, EmptyHelpIniGivesAnEmptyWindow)
{
    dir.write("help.ini", "");
    HelpWindow window(noLanguage);
    EXPECT_EQ(shownText(window), "");
}

TEST_F(HelpWindowTest, BuiltInTextWithoutAHelpFile)
{
    dir.mkdir("help.ini"); // a directory of that name is no help file
    HelpWindow window(noLanguage);
    const auto* memo = window.findChild<QPlainTextEdit*>("Memo1");
    EXPECT_EQ(memo->document()->firstBlock().text(), kTitleLine);
    EXPECT_EQ(memo->document()->blockCount(), 347);
    const QString text = memo->toPlainText();
    qsizetype at = 0;
    for (const char* heading :
         {"\nCONFIGURATIONS DETAILS\n", "\nVIDEO OPTIONS\n", "\nINPUT OPTIONS\n", "\nCORE OPTIONS\n"}) {
        const qsizetype found = text.indexOf(QString::fromLatin1(heading), at);
        EXPECT_GT(found, at) << heading;
        at = found;
    }
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(window.windowTitle(), "HELP");
}

TEST_F(HelpWindowTest, CaptionFromLine129WithOrWithoutHelpIni)
{
    const Language language = languageOf(166);
    EXPECT_EQ(HelpWindow(language).windowTitle(), "AYUDA");
    dir.write("help.ini", "own help");
    HelpWindow window(language);
    EXPECT_EQ(window.windowTitle(), "AYUDA");
    EXPECT_EQ(shownText(window), "own help");
    EXPECT_TRUE(messages.errors.empty());

    const Language shortFile = languageOf(129);
    HelpWindow untranslated(shortFile);
    EXPECT_EQ(untranslated.windowTitle(), "HELP");
    EXPECT_EQ(shownText(untranslated), "own help");
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"List index out of bounds (129)"}));
}

TEST_F(HelpWindowTest, HelpIniThatCannotBeOpenedKeepsTheBuiltInTextAndCaption)
{
    // A socket exists and is no directory, yet cannot be opened for reading, even by root.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "help.ini");
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    const Language language = languageOf(166);
    HelpWindow window(language);
    close(fd);
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Cannot open file help.ini"}));
    EXPECT_TRUE(shownText(window).startsWith(kTitleLine + "\n"));
    EXPECT_EQ(window.windowTitle(), "HELP");
}

TEST_F(HelpWindowTest, ClosingHidesItAndItShowsTheSameTextAgain)
{
    dir.write("help.ini", "line one\nline two");
    HelpWindow window(noLanguage);
    for (int showing = 0; showing < 2; ++showing) {
        runModal(window, [&] {
            EXPECT_TRUE(window.isModal());
            EXPECT_EQ(window.frameGeometry().size(), QSize(685, 375));
            EXPECT_EQ(shownText(window), "line one\nline two");
            window.close();
        });
    }

    const auto* memo = window.findChild<QPlainTextEdit*>("Memo1");
    EXPECT_EQ(memo->objectName(), "Memo1");
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    EXPECT_EQ(QFontInfo(memo->font()).pixelSize(), 13);
}

TEST_F(HelpWindowTest, HelpIniUpToOneMebibyteShowsEvenAsOneLine)
{
    const std::string line(platform::kHelpFileLimit, 'h');
    dir.write("help.ini", line);
    const Language language = languageOf(166);
    HelpWindow window(language);
    EXPECT_TRUE(messages.errors.empty());
    const QString shown = shownText(window);
    EXPECT_EQ(QString(shown).remove(QLatin1Char('\n')).toStdString(), line) << "all of it, in lines";
    EXPECT_LE(shown.indexOf(QLatin1Char('\n')), static_cast<qsizetype>(kLongestShownHelpLine));
    EXPECT_EQ(window.windowTitle(), "AYUDA");
    runModal(window, [&] { window.close(); });

    dir.write("help.ini", line + "h");
    HelpWindow over(language);
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Cannot open file help.ini"}));
    EXPECT_TRUE(shownText(over).startsWith(kTitleLine + "\n"));
}

TEST_F(HelpWindowTest, HelpIniThatIsAPipeIsNotWaitedFor)
{
    alarm(20);
    dir.mkfifo("help.ini");
    HelpWindow window(noLanguage);
    alarm(0);
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Cannot open file help.ini"}));
    EXPECT_TRUE(shownText(window).startsWith(kTitleLine + "\n"));
}
