#include "dialogs/aboutwindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "components/hyperlinklabel.h"
#include "support/recording_messages.h"

namespace arcavio {
namespace {

class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        previousOpener_ = HyperlinkLabel::setOpener([this](const std::string& target, auto done) {
            opened.push_back(target);
            done(kOpenDone);
        });
    }
    void TearDown() override { HyperlinkLabel::setOpener(previousOpener_); }

    std::vector<std::string> opened;

  private:
    HyperlinkLabel::Opener previousOpener_;
};

TEST_F(AboutWindowTest, IsAFixedWhiteWindowWithItsLogoAndVersion)
{
    test::RecordingMessages messages;
    AboutWindow form;
    EXPECT_EQ(form.objectName(), "Form2");
    EXPECT_EQ(form.windowTitle(), "Arcavio 2");
    EXPECT_EQ(form.size(), QSize(324, 483));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(messages.errors.empty()) << messages.errors.front();

    const QLabel* logo = form.findChild<QLabel*>("Image1");
    ASSERT_NE(logo, nullptr);
    ASSERT_NE(logo->pixmap().toImage().isNull(), true);
    EXPECT_EQ(logo->size(), QSize(247, 94));
    EXPECT_EQ(logo->pos(), QPoint(40, 16));

    QStringList texts;
    for (QLabel* label : form.findChildren<QLabel*>()) {
        texts << label->text();
        if (!label->text().isEmpty()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            // Every line is whole inside the window.
            EXPECT_GE(label->x(), 8) << label->text().toStdString();
            EXPECT_LE(label->geometry().right(), 316) << label->text().toStdString();
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    EXPECT_TRUE(texts.contains("ARCAVIO VERSION FINAL 2 - (R1)"));
    EXPECT_TRUE(texts.contains("For use With Windows MAME"));
    EXPECT_TRUE(texts.contains("Special Thanks / Agradecimentos Especiais:"));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const QString& t) { return t.startsWith("Programmer/Programador:"); }));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const QString& t) { return t.startsWith("<<< ") && t.endsWith(" >>>"); }));
    EXPECT_TRUE(
        std::any_of(texts.begin(), texts.end(), [](const QString& t) { return t.startsWith("By / Por:"); }));
}

TEST_F(AboutWindowTest, HasSixLinksThatOpenWhileTheWindowStays)
{
    AboutWindow form;
    const QList<HyperlinkLabel*> links = form.findChildren<HyperlinkLabel*>();
    ASSERT_EQ(links.size(), 6);
    std::vector<HyperlinkLabel*> ordered;
    for (int i = 1; i <= 6; ++i) {
        ordered.push_back(form.findChild<HyperlinkLabel*>(QStringLiteral("HyperLink%1").arg(i)));
        ASSERT_NE(ordered.back(), nullptr) << i;
    }
    EXPECT_EQ(ordered[0]->LinkType(), HyperlinkType::ltEmail);
    EXPECT_TRUE(ordered[0]->target().startsWith("mailto:"));
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(ordered[i]->LinkType(), HyperlinkType::ltHttp);
        EXPECT_TRUE(ordered[i]->target().startsWith("http://"));
    }
    EXPECT_EQ(ordered[5]->target(), "http://mamedev.org");
    for (const HyperlinkLabel* link : ordered) {
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(link->toolTip(), link->target());
        EXPECT_TRUE(QRect(0, 0, 324, 451).contains(link->geometry())) << link->target().toStdString();
    }

    form.show();
    QTest::mouseClick(ordered[5], Qt::LeftButton, {}, QPoint(6, 4));
    EXPECT_EQ(opened, std::vector<std::string>{"http://mamedev.org"});
    EXPECT_TRUE(ordered[5]->Visited());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AboutWindowTest, OkClosesTheModalWindowWhichReturnsCentredOnTheScreen)
{
    // An owner in a corner: the window still centres on the screen, not on its owner.
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    owner.show();
    AboutWindow form(&owner);
    QPushButton* ok = form.findChild<QPushButton*>("Button1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(128, 451, 75, 25));
    for (int round = 0; round < 2; ++round) {
        bool wasShown = false;
        QTimer::singleShot(0, &form, [&] {
            wasShown = form.isVisible();
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        form.exec();
        EXPECT_TRUE(wasShown);
        EXPECT_FALSE(form.isVisible());
    }
    form.show();
    const QRect available = form.screen()->availableGeometry();
    EXPECT_EQ(form.frameGeometry().center().x() - available.center().x(), 0);
    EXPECT_LE(std::abs(form.frameGeometry().center().y() - available.center().y()), 1);
    if (const char* dir = std::getenv("ARCAVIO_SCREENSHOTS"))
        form.grab().save(QString::fromLocal8Bit(dir) + "/about.png");
}

} // namespace
} // namespace arcavio
