#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "app/messageboxes.h"
#include "base/qthelpers.h"
#include "support/modal.h"
#include "text/errors.h"
#include "text/integers.h"

namespace arcavio::test {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Records the box that comes up and presses the given button.
void pressWhenShown(SeenBox& seen, QMessageBox::StandardButton press)
{
    whenModal([&seen, press](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()};
        box->button(press)->click();
    });
}

TEST(MessageBoxes, PlainMessagesAndQuestionsLookAsTheyShould)
{
    QApplication::setApplicationName(QStringLiteral("Arcavio 2"));
    MessageBoxes boxes;

    SeenBox plain;
    pressWhenShown(plain, QMessageBox::Ok);
    boxes.plainMessage("File Saved! <b>not bold</b>");
    EXPECT_EQ(plain.title, "Arcavio 2");
    EXPECT_EQ(plain.text, "File Saved! <b>not bold</b>");
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, QMessageBox::Ok);
    EXPECT_EQ(plain.format, Qt::PlainText);

    SeenBox question;
    pressWhenShown(question, QMessageBox::No);
    EXPECT_FALSE(boxes.askYesNo("This file already exists, overwrite?", ""));
    EXPECT_EQ(question.text, "This file already exists, overwrite?");
    EXPECT_EQ(question.icon, QMessageBox::Warning);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    // An empty window title is shown by the window system as the application's name; the
    // question's title bar must read nothing at all.
    EXPECT_FALSE(question.title.isEmpty());
    EXPECT_TRUE(question.title.trimmed().isEmpty()) << question.title.toStdString();

    pressWhenShown(question, QMessageBox::Yes);
    EXPECT_TRUE(boxes.askYesNo("Delete?", "Confirm"));
    EXPECT_EQ(question.title, "Confirm");
}

TEST(MessageBoxes, HugeTextsShowABoundedPrefix)
{
    MessageBoxes boxes;
    const std::string ellipsis = "\xE2\x80\xA6";
    SeenBox seen;

    // The error quotes a prefix of the bad value; the box would show a bounded text anyway.
    pressWhenShown(seen, QMessageBox::Ok);
    try {
        parseInteger(std::string(10'000'000, '9') + "x");
    } catch (const ConvertError& e) {
        boxes.errorBox(e.what());
    }
    EXPECT_LT(seen.text.size(), 300);
    EXPECT_TRUE(seen.text.endsWith(QString::fromUtf8(ellipsis + "' is not a valid integer value.")))
        << seen.text.right(60).toStdString();

    pressWhenShown(seen, QMessageBox::Ok);
    std::string accents;
    while (accents.size() < 10'000'000)
        accents += "\xC3\xA9";
    boxes.plainMessage("x" + accents);
    EXPECT_LE(seen.text.size(), static_cast<qsizetype>(kShownMessageLimit));
    EXPECT_TRUE(seen.text.endsWith(QString::fromUtf8(ellipsis)));
    EXPECT_FALSE(seen.text.contains(QChar::ReplacementCharacter)) << "a character was cut";

    pressWhenShown(seen, QMessageBox::Yes);
    boxes.askYesNo(accents, accents);
    EXPECT_LE(seen.text.size(), static_cast<qsizetype>(kShownMessageLimit));
    EXPECT_LE(seen.title.size(), static_cast<qsizetype>(kShownLineLimit));
}

} // namespace
} // namespace arcavio::test
