#include "components/hyperlinklabel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

class HyperLinkTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        previousOpener_ = HyperlinkLabel::setOpener([this](const std::string& target, auto done) {
            opened.push_back(target);
            done(openResult);
        });
        previousWriter_ = HyperlinkLabel::setClipboardWriter([this](const std::string& text) {
            copied.push_back(text);
            return clipboardWorks;
        });
    }
    void TearDown() override
    {
        HyperlinkLabel::setOpener(previousOpener_);
        HyperlinkLabel::setClipboardWriter(previousWriter_);
    }

    std::vector<std::string> opened;
    std::vector<std::string> copied;
    int openResult = kOpenDone;
    bool clipboardWorks = true;

  private:
    HyperlinkLabel::Opener previousOpener_;
    HyperlinkLabel::ClipboardWriter previousWriter_;
};

// How many pixels of the label are drawn in the colour.
int pixelsOf(HyperlinkLabel& label, const QColor& color)
{
    const QImage image = label.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                ++count;
    return count;
}

TEST_F(HyperLinkTest, AnEmailLabelLinksToItsAddressAndShowsItAsHint)
{
    QWidget form;
    HyperlinkLabel label(&form);
    label.setCaption("someone@example.org");
    EXPECT_EQ(label.LinkType(), HyperlinkType::ltEmail);
    EXPECT_EQ(label.target(), "mailto:someone@example.org");
    EXPECT_EQ(label.toolTip(), "mailto:someone@example.org");
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);

    const QFontMetrics metrics(label.font());
    EXPECT_EQ(label.width(), metrics.horizontalAdvance("someone@example.orgmailto:") + 10);
    EXPECT_EQ(label.height(), metrics.height() + 4);
    EXPECT_EQ(label.pos(), QPoint(20, 20));

    label.Click();
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:someone@example.org"});
}

TEST_F(HyperLinkTest, AnAliasReplacesTheShownTextButNotTheTarget)
{
    QWidget form;
    HyperlinkLabel label(&form);
    label.setLinkType(HyperlinkType::ltHttp);
    label.setCaption("www.example.org/a/very/long/address/indeed");
    label.setAlias("Home");
    EXPECT_EQ(label.width(), QFontMetrics(label.font()).horizontalAdvance("Home") + 8);
    EXPECT_EQ(label.target(), "http://www.example.org/a/very/long/address/indeed");
    label.Click();
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.org/a/very/long/address/indeed"});
}

TEST_F(HyperLinkTest, TheOwnHintShowsOnlyWhileTheLabelIsWideEnough)
{
    QWidget form;
    HyperlinkLabel label(&form);
    label.setLinkType(HyperlinkType::ltHttp);
    label.setCaption("www.example.org");
    label.setHint("Our home page");
    form.show();
    EXPECT_EQ(label.toolTip(), "Our home page");

    label.setAutoSize(false);
    label.resize(label.neededWidth() - 1, label.height());
    EXPECT_EQ(label.toolTip(), "http://www.example.org");
    label.resize(label.neededWidth(), label.height());
    EXPECT_EQ(label.toolTip(), "Our home page");
    label.setHint("");
    EXPECT_EQ(label.toolTip(), "http://www.example.org");
}

TEST_F(HyperLinkTest, AClickVisitsOnlyWhenTheOpenSucceeds)
{
    QWidget form;
    HyperlinkLabel label(&form);
    label.setCaption("someone@example.org");
    std::vector<int> results;
    label.OnAfterExecuted = [&](HyperlinkLabel* sender, int reslt) {
        EXPECT_EQ(sender, &label);
        results.push_back(reslt);
    };

    openResult = 32;
    label.Click();
    EXPECT_FALSE(label.Visited());
    openResult = 42;
    label.Click();
    EXPECT_TRUE(label.Visited());
    EXPECT_EQ(results, (std::vector<int>{32, 42}));
    EXPECT_EQ(opened.size(), 2u);
}

// The desktop's opener only says by its exit status whether it opened the link; that it started
// says nothing. It is waited for beside the event loop, so the click returns at once.
TEST_F(HyperLinkTest, TheDesktopOpenerVisitsOnlyWhenItExitsWell)
{
    HyperlinkLabel::setOpener({});
    test::TempDir bin;
    const std::string script = bin.write("xdg-open", "");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()) + ":" + path);
    QWidget form;
    HyperlinkLabel label(&form);
    label.setLinkType(HyperlinkType::ltHttp);
    label.setCaption("www.example.org");
    std::vector<int> results;
    label.OnAfterExecuted = [&](HyperlinkLabel*, int reslt) { results.push_back(reslt); };
    const auto clickWith = [&](int exitCode) {
        test::writeBytes(script,
                         "#!/bin/sh\necho \"$@\" > \"$0.args\"\nexit " + std::to_string(exitCode) + "\n");
        chmod(script.c_str(), 0755);
        results.clear();
        label.Click();
        EXPECT_TRUE(results.empty()) << "the click waited for the opener";
        for (int turn = 0; turn < 3000 && results.empty(); ++turn)
            QTest::qWait(10);
        EXPECT_EQ(test::readBytes(script + ".args"), "http://www.example.org\n");
    };
    clickWith(3);
    EXPECT_EQ(results, std::vector<int>{kOpenNoHandler});
    EXPECT_FALSE(label.Visited());
    clickWith(0);
    EXPECT_EQ(results, std::vector<int>{kOpenDone});
    EXPECT_TRUE(label.Visited());

    // A target the opener would read as an option of its own is not handed to it.
    label.setLinkType(HyperlinkType::ltCustom);
    label.setCaption("--manual");
    results.clear();
    label.Click();
    EXPECT_EQ(results, std::vector<int>{kOpenNoHandler});
    EXPECT_FALSE(label.Visited());
    qputenv("PATH", path);
}

TEST_F(HyperLinkTest, HandlersCanCancelTheClickOrTakeItOver)
{
    QWidget form;
    HyperlinkLabel label(&form);
    label.setCaption("someone@example.org");
    std::vector<std::string> events;
    std::vector<int> results;
    label.OnBeforeExecuted = [&](HyperlinkLabel*, bool& executeIt) {
        events.push_back("before");
        executeIt = false;
    };
    label.OnExecute = [&](HyperlinkLabel*, bool&) { events.push_back("execute"); };
    label.OnAfterExecuted = [&](HyperlinkLabel*, int reslt) { results.push_back(reslt); };

    label.Click();
    EXPECT_EQ(events, std::vector<std::string>{"before"});
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(label.Visited());
    EXPECT_TRUE(results.empty());

    events.clear();
    label.OnBeforeExecuted = [&](HyperlinkLabel*, bool& executeIt) {
        events.push_back("before");
        EXPECT_TRUE(executeIt);
    };
    label.OnExecute = [&](HyperlinkLabel*, bool& executeIt) {
        events.push_back("execute");
        executeIt = false;
    };
    openResult = 2; // would fail, but is never asked
    label.Click();
    EXPECT_EQ(events, (std::vector<std::string>{"before", "execute"}));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(label.Visited());
    EXPECT_EQ(results, std::vector<int>{33});
}

TEST_F(HyperLinkTest, ANewCaptionOrLinkTypeForgetsTheVisit)
{
    QWidget form;
    form.setStyleSheet("background: white");
    HyperlinkLabel label(&form);
    label.setCaption("someone@example.org");
    EXPECT_GT(pixelsOf(label, QColor(0, 0, 255)), 0);
    label.Click();
    ASSERT_TRUE(label.Visited());
    EXPECT_EQ(pixelsOf(label, QColor(0, 0, 255)), 0);
    EXPECT_GT(pixelsOf(label, QColor(128, 0, 128)), 0);

    label.setCaption("someone@example.org"); // even the same caption
    EXPECT_FALSE(label.Visited());
    EXPECT_GT(pixelsOf(label, QColor(0, 0, 255)), 0);
    EXPECT_EQ(pixelsOf(label, QColor(128, 0, 128)), 0);

    label.Click();
    label.setLinkType(HyperlinkType::ltEmail); // unchanged type keeps the visit
    EXPECT_TRUE(label.Visited());
    label.setLinkType(HyperlinkType::ltNews);
    EXPECT_FALSE(label.Visited());
}

TEST_F(HyperLinkTest, TheCustomPrefixIsOneValueForEveryLabel)
{
    QWidget form;
    HyperlinkLabel first(&form);
    HyperlinkLabel second(&form);
    first.setLinkType(HyperlinkType::ltCustom);
    second.setLinkType(HyperlinkType::ltCustom);
    first.setCaption("x");
    second.setCaption("y");
    const int before = second.width();

    first.setCustomPrefix("a-prefix-of-26-characters:");
    EXPECT_EQ(second.CustomPrefix(), "a-prefix-of-26-chara");
    EXPECT_EQ(first.target(), "a-prefix-of-26-charax");
    EXPECT_EQ(second.target(), "a-prefix-of-26-charay");
    EXPECT_GT(second.width(), before);

    // Creating a label starts the shared prefix afresh.
    HyperlinkLabel third(&form);
    EXPECT_EQ(first.CustomPrefix(), "");
    EXPECT_EQ(second.target(), "y");
}

TEST_F(HyperLinkTest, ARightPressShowsTheMenuThatCopiesTheTarget)
{
    test::RecordingMessages messages;
    QWidget form;
    form.resize(300, 100);
    HyperlinkLabel label(&form);
    label.setLinkType(HyperlinkType::ltHttp);
    label.setCaption("www.example.org");
    form.show();

    QTest::mousePress(&label, Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_TRUE(label.popupMenu()->isVisible());
    EXPECT_TRUE(opened.empty());
    const QList<QAction*> actions = label.popupMenu()->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), "Copy Url to clipboard");
    EXPECT_TRUE(actions[0]->shortcut().isEmpty());
    label.popupMenu()->hide();
    QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(opened.empty());

    actions[0]->trigger();
    EXPECT_EQ(copied, std::vector<std::string>{"http://www.example.org"});
    EXPECT_TRUE(messages.plain.empty());
    clipboardWorks = false;
    actions[0]->trigger();
    EXPECT_EQ(messages.plain, std::vector<std::string>{"Could not write to clipboard"});

    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.org"});
    EXPECT_FALSE(label.popupMenu()->isVisible());
}

TEST(HyperLinkClipboard, TheDefaultWriterPutsTheTargetOnTheClipboard)
{
    test::RecordingMessages messages;
    QWidget form;
    HyperlinkLabel label(&form);
    label.setLinkType(HyperlinkType::ltFile);
    label.setCaption("/tmp/readme.txt");
    label.copyTarget();
    EXPECT_EQ(QApplication::clipboard()->text(), "file:///tmp/readme.txt");
    EXPECT_TRUE(messages.plain.empty());
}

} // namespace
} // namespace arcavio
