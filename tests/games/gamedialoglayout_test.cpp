#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "base/language.h"
#include "games/addgamedialog.h"
#include "games/selectgamedialog.h"
#include "support/qt_printers.h"

namespace arcavio {
namespace {

// A language whose lines 135 to 139, 158 and 161 to 165 (the game dialogs' texts) come from
// the given function; every other line is a word.
Language languageWith(const std::function<std::string(int)>& text)
{
    LineList lines;
    for (int n = 0; n < 170; ++n)
        lines.append((n >= 135 && n <= 139) || n == 158 || (n >= 161 && n <= 165) ? text(n) : "Word");
    return Language(lines);
}

std::string shortText(int line)
{
    return line == 139 ? "Pick:" : "Ok";
}

std::string longText(int line)
{
    return "A much longer translated text for line " + std::to_string(line);
}

template <class W = QWidget> W* child(QWidget& dialog, const char* name)
{
    return dialog.findChild<W*>(QString::fromLatin1(name));
}

// The width a control's text takes: a button's text with a few pixels on either side (not the
// style's minimum button width), a label's or check box's whole size hint.
int textNeeds(QWidget* widget)
{
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->fontMetrics().horizontalAdvance(button->text()) + 8;
    return widget->sizeHint().width();
}

// Every text shows whole, nothing overlaps and everything lies inside the window.
void expectTextsFitWithoutOverlap(QWidget& dialog, const std::vector<const char*>& row)
{
    const QRect inside(QPoint(0, 0), dialog.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        auto* widget = child(dialog, row[i]);
        if (widget->isHidden())
            continue;
        EXPECT_TRUE(inside.contains(widget->geometry())) << row[i];
        EXPECT_GE(widget->width(), textNeeds(widget)) << row[i] << " cuts its text";
        for (std::size_t j = i + 1; j < row.size(); ++j) {
            auto* other = child(dialog, row[j]);
            if (!other->isHidden()) {
                EXPECT_LE(widget->x() + textNeeds(widget), other->x()) << row[i] << " runs into " << row[j];
            }
        }
    }
}

const std::vector<const char*> kSelectGameRow = {"C135", "c158", "c137", "c138"};

TEST(SelectGameLayout, BuiltInTextsKeepTheDesignedButtons)
{
    const Language none;
    SelectGameDialog dialog(none);
    EXPECT_EQ(dialog.size(), QSize(396, 346));
    EXPECT_EQ(child(dialog, "c137")->geometry(), QRect(232, 312, 75, 25));
    EXPECT_EQ(child(dialog, "c138")->geometry(), QRect(312, 312, 75, 25));
    EXPECT_EQ(child(dialog, "gamelist")->geometry(), QRect(13, 32, 369, 265));
    EXPECT_EQ(child(dialog, "C135")->pos(), QPoint(8, 318));
    expectTextsFitWithoutOverlap(dialog, kSelectGameRow);
    // "Add a new Game" keeps its right edge; it widens leftwards only as far as its text needs.
    QWidget* add = child(dialog, "c136");
    EXPECT_EQ(add->geometry().right(), 387);
    EXPECT_GE(add->width(), textNeeds(add));
    EXPECT_LE(add->width(), std::max(100, textNeeds(add) + 4));

    // Run shows Change Directory: at its designed size, with room for the check box's text.
    dialog.setChangeDirectoryVisible(true);
    EXPECT_EQ(child(dialog, "c158")->width(), 115);
    expectTextsFitWithoutOverlap(dialog, kSelectGameRow);
    EXPECT_EQ(dialog.width(), child(dialog, "c138")->geometry().right() + 10);
    dialog.setChangeDirectoryVisible(false);
    EXPECT_EQ(dialog.size(), QSize(396, 346));
}

TEST(SelectGameLayout, ShortTextsLeaveEverythingAtItsDesignedPlace)
{
    const Language language = languageWith(shortText);
    SelectGameDialog dialog(language);
    dialog.setChangeDirectoryVisible(true);
    EXPECT_EQ(dialog.size(), QSize(396, 346));
    EXPECT_EQ(child(dialog, "C135")->geometry(), QRect(8, 318, 105, 17));
    EXPECT_EQ(child(dialog, "c158")->geometry(), QRect(112, 312, 115, 25));
    EXPECT_EQ(child(dialog, "c137")->geometry(), QRect(232, 312, 75, 25));
    EXPECT_EQ(child(dialog, "c138")->geometry(), QRect(312, 312, 75, 25));
    EXPECT_EQ(child(dialog, "c136")->geometry(), QRect(288, 2, 100, 25));
}

TEST(SelectGameLayout, LongTextsWidenTheirControlsAndTheWindow)
{
    const Language language = languageWith(longText);
    SelectGameDialog dialog(language);
    for (const bool visible : {false, true}) {
        dialog.setChangeDirectoryVisible(visible);
        expectTextsFitWithoutOverlap(dialog, kSelectGameRow);
        auto* add = child<QPushButton>(dialog, "c136");
        EXPECT_GE(add->width(), textNeeds(add));
        EXPECT_EQ(add->geometry().right(), dialog.width() - 9);
        EXPECT_LE(child(dialog, "c139")->geometry().right(), add->x());
        EXPECT_EQ(child(dialog, "gamelist")->width(), dialog.width() - 27);
    }
    EXPECT_GT(dialog.width(), 396);
}

TEST(AddGameLayout, BuiltInAndShortTextsKeepTheDesignedWindowAndButtons)
{
    const Language none;
    const Language shortTexts = languageWith(shortText);
    for (const Language* language : {&none, &shortTexts}) {
        AddGameDialog dialog(*language);
        EXPECT_EQ(dialog.size(), QSize(340, 125));
        EXPECT_EQ(child(dialog, "c165")->geometry(), QRect(176, 88, 75, 25));
        EXPECT_EQ(child(dialog, "c164")->geometry(), QRect(256, 88, 75, 25));
        for (const char* edit : {"zip", "game"})
            EXPECT_EQ(child(dialog, edit)->geometry().right(), 331) << edit;
        expectTextsFitWithoutOverlap(dialog, {"c162", "zip"});
        expectTextsFitWithoutOverlap(dialog, {"c163", "game"});
    }
    const AddGameDialog shortDialog(shortTexts);
    EXPECT_EQ(shortDialog.findChild<QWidget*>("zip")->geometry(), QRect(73, 21, 259, 21));
}

TEST(AddGameLayout, LongTextsWidenTheButtonsAndTheWindow)
{
    const Language language = languageWith(longText);
    AddGameDialog dialog(language);
    expectTextsFitWithoutOverlap(dialog, {"c165", "c164"});
    expectTextsFitWithoutOverlap(dialog, {"c162", "zip"});
    expectTextsFitWithoutOverlap(dialog, {"c163", "game"});
    EXPECT_EQ(child(dialog, "c164")->geometry().right(), dialog.width() - 10);
}

// The game dialogs' labels read "&" as their buttons do, and their accelerator focuses the field
// each label names.
TEST(GameDialogLabels, ReadTheAcceleratorMarkerAsButtonsDo)
{
    const Language language = languageWith([](int line) -> std::string {
        return line == 162 ? "&Zip:" : line == 163 ? "A&&B" : line == 139 ? "&Pick:" : "Ok";
    });
    AddGameDialog add(language);
    add.show();
    add.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&add));
    child(add, "game")->setFocus();
    QTest::keyClick(&add, Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child(add, "zip"));
    auto* both = qobject_cast<QLabel*>(child(add, "c163"));
    QLabel reference(QStringLiteral("A&B"));
    reference.setFont(both->font());
    EXPECT_EQ(both->sizeHint().width(), reference.sizeHint().width()) << "\"&&\" shows one \"&\"";
    add.hide();

    SelectGameDialog select(language);
    select.show();
    select.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&select));
    child(select, "c136")->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), child(select, "c136"));
    QTest::keyClick(&select, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child(select, "gamelist"));
}

} // namespace
} // namespace arcavio
