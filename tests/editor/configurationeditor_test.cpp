#include <filesystem>
#include <limits>
#include <map>
#include <set>

#include <QAbstractButton>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "base/qthelpers.h"
#include "config/configuration.h"
#include "editor/editor_fixture.h"
#include "editor/editorrules.h"
#include "editor/editortable.h"
#include "emulator/mameoptions.h"
#include "platform/filesystem.h"
#include "platform/textfiles.h"
#include "support/folder_chooser.h"
#include "support/installed_mame.h"
#include "text/paths.h"

namespace arcavio::test {
namespace {

const std::set<std::string> kCheckedAtStart = {"c55", "c60", "c61", "c62", "c66",  "c67",
                                               "c68", "c71", "c91", "c99", "c100", "c101"};
const std::set<std::string> kDisabledAtStart = {"game",         "c23",          "frameskip",
                                                "resolution1",  "resolution2",  "resolution3",
                                                "dresolution1", "dresolution2", "dresolution3"};

// The lines that caption a control named after them.
std::vector<int> captionLines()
{
    std::vector<int> lines;
    for (int n : editorLanguageLines())
        if ((n >= 17 && n <= 78) || (n >= 85 && n <= 106) || n == 112 || (n >= 115 && n <= 130))
            lines.push_back(n);
    return lines;
}

std::string captionOf(QWidget& editor, int line)
{
    QWidget* w = editor.findChild<QWidget*>(QStringLiteral("c%1").arg(line));
    if (!w)
        return "<missing c" + std::to_string(line) + ">";
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text().toStdString();
    return "<not captioned>";
}

QColor baseOf(QWidget* w)
{
    return w->palette().color(QPalette::Base);
}
QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}
QColor windowColour()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

using NewEditor = EditorTest;

TEST_F(NewEditor, ShowsTheBuiltInTextsAndInitialStates)
{
    auto editor = makeEditor();
    EXPECT_EQ(editor->objectName(), "c110");
    EXPECT_EQ(editor->windowTitle(), "Edit Configuration");
    for (int n : captionLines())
        EXPECT_EQ(captionOf(*editor, n), builtinText(n)) << "line " << n;
    EXPECT_EQ(captionOf(*editor, 86), "No Rotate ");

    auto* outer = child<QTabWidget>(*editor, "S7984");
    auto* inner = child<QTabWidget>(*editor, "s107109e159");
    ASSERT_EQ(outer->count(), 6);
    ASSERT_EQ(inner->count(), 4);
    const std::vector<std::string> outerTabs = {"Configuration Details", "Directories",   "Files",
                                                "Video Options",         "Input Options", "CORE Options"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(outer->tabText(i).toStdString(), outerTabs[static_cast<std::size_t>(i)]);
    const std::vector<std::string> innerTabs = {"Video Options", "Vector Games Options", "Sound Options",
                                                "Misc Options"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(inner->tabText(i).toStdString(), innerTabs[static_cast<std::size_t>(i)]);
    EXPECT_EQ(outer->currentIndex(), 0);

    EXPECT_EQ(editor->dialogTitle("D111"), "Select the Picture");
    EXPECT_EQ(editor->dialogTitle("d113"), "Select the MAME Exe File");
    EXPECT_EQ(editor->dialogTitle("d114"), "Choose the directory form the List above:");
    EXPECT_EQ(editor->dialogTitle("d125"), "Select the DAT File");
    EXPECT_EQ(editor->dialogTitle("d131"), "Save As");
    EXPECT_EQ(editor->height(), 347);
    EXPECT_GE(editor->width(), 536);
    EXPECT_LE(outer->tabBar()->sizeHint().width(), outer->width()) << "every page caption shows";
    EXPECT_LE(inner->tabBar()->sizeHint().width(), inner->width());
    EXPECT_TRUE(editor->ConfigFileName.empty());
    EXPECT_TRUE(editor->pictureFileName().empty());
    EXPECT_NE(editor->findChild<QWidget*>("Panel1"), nullptr);
    EXPECT_NE(editor->findChild<QWidget*>("Shape1"), nullptr);
    EXPECT_NE(editor->findChild<QWidget*>("Image"), nullptr);

    for (const ConfigurationLine& entry : kConfigurationLines) {
        if (entry.form == ValueForm::Picture)
            continue;
        const std::string name(entry.control);
        QWidget* w = child(*editor, name.c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), !kDisabledAtStart.contains(name)) << name;
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            EXPECT_EQ(box->isChecked(), kCheckedAtStart.contains(name)) << name;
        } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(line->text().toStdString(), entry.defaultValue) << name;
            EXPECT_EQ(baseOf(w), name == "game" ? buttonFace() : windowColour()) << name;
        } else if (auto* s = qobject_cast<SpinEdit*>(w)) {
            EXPECT_EQ(s->text().toStdString(), entry.defaultValue) << name;
            EXPECT_EQ(baseOf(w), kDisabledAtStart.contains(name) ? buttonFace() : windowColour()) << name;
        } else {
            ADD_FAILURE() << name << " is of no known kind";
        }
    }
    EXPECT_FALSE(child(*editor, "c23")->isEnabled());
    EXPECT_EQ(child<SpinEdit>(*editor, "volume")->bounds().min, -32);
    EXPECT_FALSE(child<SpinEdit>(*editor, "refresh")->bounds().bounded());
    EXPECT_TRUE(recorder.errors.empty());
}

// The pages come from the control table: each row on its own page, in its kind, at its height
// (a long caption may push it right, never left), and in the table's order, which is also the
// order the controls stack and take focus in by default.
TEST_F(NewEditor, EveryTableRowIsBuiltOnItsPageInTableOrder)
{
    auto editor = makeEditor();
    auto* outer = child<QTabWidget>(*editor, "S7984");
    auto* inner = child<QTabWidget>(*editor, "s107109e159");
    auto containerOf = [&](EditorPage page) -> QWidget* {
        if (page == EditorPage::Panel)
            return child(*editor, "Panel1");
        if (const int core = corePageIndex(page); core >= 0)
            return inner->widget(core);
        return outer->widget(outerPageIndex(page));
    };
    auto builtAs = [](QWidget* w, ControlKind kind) {
        switch (kind) {
        case ControlKind::Label:
        case ControlKind::Times:
        case ControlKind::Picture:
            return qobject_cast<QLabel*>(w) != nullptr;
        case ControlKind::Button:
            return qobject_cast<QPushButton*>(w) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<QCheckBox*>(w) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<QLineEdit*>(w) != nullptr;
        case ControlKind::Spin:
            return qobject_cast<SpinEdit*>(w) != nullptr;
        case ControlKind::Frame:
            return qobject_cast<QFrame*>(w) != nullptr;
        }
        return false;
    };
    std::map<QWidget*, std::vector<QWidget*>> expected;
    for (const EditorControl& row : editorControls()) {
        QWidget* page = containerOf(row.page);
        ASSERT_NE(page, nullptr);
        const auto built = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        const auto index = expected[page].size();
        ASSERT_LT(index, static_cast<std::size_t>(built.size())) << row.name << " is missing";
        QWidget* w = built[static_cast<qsizetype>(index)];
        expected[page].push_back(w);
        EXPECT_EQ(w->objectName().toStdString(), row.name) << "out of order on its page";
        EXPECT_TRUE(builtAs(w, row.kind)) << row.name;
        EXPECT_EQ(w->y(), row.top) << row.name;
        EXPECT_GE(w->x(), row.left) << row.name;
        if (auto* spin = qobject_cast<SpinEdit*>(w)) {
            EXPECT_EQ(spin->bounds().min, row.bounds.min) << row.name;
        }
    }
    for (const auto& [page, widgets] : expected)
        EXPECT_EQ(page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
                  static_cast<qsizetype>(widgets.size()))
            << page->objectName().toStdString() << " holds a control the table lacks";
}

TEST_F(NewEditor, TakesItsTextsFromALanguageFile)
{
    LineList lines = numberedLanguage(166);
    lines.set(126, "Reset");
    lines.set(57, "");
    lines.set(20, " padded ");
    language.setLines(lines);
    auto editor = makeEditor();
    for (int n : captionLines())
        EXPECT_EQ(captionOf(*editor, n), lines.at(n)) << "line " << n;
    EXPECT_EQ(captionOf(*editor, 126), "Reset");
    EXPECT_EQ(captionOf(*editor, 57), "");
    EXPECT_EQ(captionOf(*editor, 20), " padded ");
    auto* outer = child<QTabWidget>(*editor, "S7984");
    auto* inner = child<QTabWidget>(*editor, "s107109e159");
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(outer->tabText(i).toStdString(), "L" + std::to_string(79 + i));
    EXPECT_EQ(inner->tabText(0), "L107");
    EXPECT_EQ(inner->tabText(2), "L109");
    EXPECT_EQ(inner->tabText(3), "L159");
    EXPECT_EQ(editor->dialogTitle("D111"), "L111");
    EXPECT_EQ(editor->dialogTitle("d113"), "L113");
    EXPECT_EQ(editor->dialogTitle("d114"), "L114");
    EXPECT_EQ(editor->dialogTitle("d131"), "L131");
    EXPECT_EQ(editor->dialogTitle("d125"), "Select the DAT File");
    EXPECT_EQ(editor->windowTitle(), "Edit Configuration") << "line 110 is the opener's";
    EXPECT_TRUE(recorder.errors.empty());

    dialogAnswers.push_back(std::nullopt);
    editor->searchDatFile(1);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Select the DAT File");
}

// Labels read "&" as the buttons beside them do: "&&" is one "&", "&x" marks the accelerator,
// which focuses the field the label names.
TEST_F(NewEditor, LabelsReadTheAcceleratorMarkerAsButtonsDo)
{
    LineList lines = numberedLanguage(166);
    lines.set(17, "&Name");
    lines.set(29, "A&&B");
    lines.set(19, "A&&B");
    lines.set(20, "&Plain");
    lines.set(18, "A&&B");
    language.setLines(lines);
    auto editor = makeEditor();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));

    const auto shownWidth = [](QLabel* label, const QString& plain) {
        QLabel reference(plain);
        reference.setFont(label->font());
        reference.setTextFormat(Qt::PlainText);
        return std::pair{label->sizeHint().width(), reference.sizeHint().width()};
    };
    auto* name = child<QLabel>(*editor, "c17");
    const auto [nameWidth, nameReference] = shownWidth(name, "Name");
    EXPECT_EQ(nameWidth, nameReference) << "the marker takes no room";
    auto* directory = child<QLabel>(*editor, "c29");
    const auto [directoryWidth, directoryReference] = shownWidth(directory, "A&B");
    EXPECT_EQ(directoryWidth, directoryReference);
    EXPECT_EQ(child<QPushButton>(*editor, "c18")->text(), "A&&B") << "as the button holds it";

    child<QLineEdit>(*editor, "Edit1")->setFocus();
    QTest::keyClick(editor.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child(*editor, "mame"));

    // A label with no field of its own shows the caption without its markers.
    EXPECT_EQ(child<QLabel>(*editor, "c19")->text(), "A&B");
    EXPECT_EQ(child<QLabel>(*editor, "c20")->text(), "Plain");
}

TEST_F(NewEditor, ALanguageFileTooShortStopsAtTheMissingLine)
{
    language.setLines(numberedLanguage(159));
    auto editor = makeEditor();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "List index out of bounds (159)");
    for (int n : captionLines())
        EXPECT_EQ(captionOf(*editor, n), "L" + std::to_string(n)) << "line " << n;
    auto* inner = child<QTabWidget>(*editor, "s107109e159");
    EXPECT_EQ(inner->tabText(2), "L109");
    EXPECT_EQ(inner->tabText(3), "Misc Options");
    EXPECT_EQ(child<QTabWidget>(*editor, "S7984")->tabText(5), "L84");
    EXPECT_EQ(editor->dialogTitle("D111"), "Select the Picture");
    EXPECT_EQ(editor->dialogTitle("d113"), "Select the MAME Exe File");
    EXPECT_EQ(editor->dialogTitle("d114"), "Choose the directory form the List above:");
    EXPECT_EQ(editor->dialogTitle("d131"), "Save As");
}

TEST_F(NewEditor, TabOrderFollowsEachPage)
{
    auto editor = makeEditor();
    auto orderOf = [&](const std::vector<std::string>& names) {
        const std::set<std::string> wanted(names.begin(), names.end());
        std::vector<std::string> seen;
        QWidget* start = child(*editor, names.front().c_str());
        QWidget* w = start;
        do {
            const std::string name = w->objectName().toStdString();
            if (wanted.contains(name) && std::find(seen.begin(), seen.end(), name) == seen.end())
                seen.push_back(name);
            w = w->nextInFocusChain();
        } while (w != start);
        return seen;
    };
    const std::vector<std::vector<std::string>> containers = {
        {"Edit1", "c22", "c21", "game", "c23", "mame", "c18", "c112"},
        {"file1", "c52", "c53", "file2", "file3", "c54", "c126", "c127", "c128"},
        {"c55",         "frameskip",   "c57", "c58",     "c59",        "c60",         "c61", "resolution2",
         "resolution1", "resolution3", "c62", "refresh", "c65",        "c66",         "c67", "c68",
         "c69",         "c70",         "c71", "c72",     "brightness", "framestorun", "c130"},
        {"c75", "c76", "c78", "c77"},
        {"c95", "beam", "flicker", "c94"},
        {"samplerate", "c99", "c100", "c101", "volume"},
        {"c28", "c26", "c27", "c25", "c24"}};
    for (const auto& names : containers)
        EXPECT_EQ(orderOf(names), names);
}

using SpinFields = EditorTest;

void leave(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

TEST_F(SpinFields, VolumeIsClampedWhenSetOrLeft)
{
    auto editor = makeEditor();
    auto* volume = child<SpinEdit>(*editor, "volume");
    volume->clear();
    QTest::keyClicks(volume, "5");
    EXPECT_EQ(volume->text(), "5") << "typing alone does not clamp";
    leave(volume);
    EXPECT_EQ(volume->text(), "0");

    volume->clear();
    QTest::keyClicks(volume, "-40");
    leave(volume);
    EXPECT_EQ(volume->text(), "-32");

    volume->setValue(7);
    EXPECT_EQ(volume->text(), "0");
    volume->setValue(-99);
    EXPECT_EQ(volume->text(), "-32");

    volume->setValue(-1);
    volume->stepBy(1);
    volume->stepBy(1);
    EXPECT_EQ(volume->text(), "0");

    auto* refresh = child<SpinEdit>(*editor, "refresh");
    refresh->setValue(-40);
    leave(refresh);
    EXPECT_EQ(refresh->text(), "-40") << "other fields are unbounded";
    refresh->stepBy(-1);
    EXPECT_EQ(refresh->text(), "-41");
}

// Every spin field shows the whole of the widest value it can hold, and nothing on its page lies
// over it. The whole text shows when the line edit need not scroll: its cursor then travels the
// text's full width between the two ends, inside the field.
TEST_F(SpinFields, ShowTheWholeOfEveryValueTheyCanHold)
{
    auto editor = makeEditor();
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    const QList<SpinEdit*> spins = editor->findChildren<SpinEdit*>();
    ASSERT_EQ(spins.size(), 12);
    for (SpinEdit* spin : spins) {
        const std::string name = spin->objectName().toStdString();
        for (QWidget* w = spin; w->parentWidget() != nullptr; w = w->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                tabs->setCurrentWidget(w);
        QApplication::processEvents();
        ASSERT_TRUE(spin->isVisible()) << name;
        spin->setEnabled(true);

        const bool bounded = spin->bounds().bounded();
        const std::int32_t lowest = bounded ? spin->bounds().min : std::numeric_limits<std::int32_t>::min();
        const std::int32_t highest = bounded ? spin->bounds().max : std::numeric_limits<std::int32_t>::max();
        for (const std::int32_t value : {lowest, highest, 36000}) {
            spin->setValue(value);
            QLineEdit* edit = spin->findChild<QLineEdit*>();
            const QString text = edit->text();
            const auto cursorAt = [edit](qsizetype position) {
                edit->setCursorPosition(static_cast<int>(position));
                edit->repaint(); // where the line edit scrolls its text to show the cursor
                return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            };
            const QRect start = cursorAt(0);
            const QRect end = cursorAt(text.size());
            EXPECT_EQ(end.center().x() - start.center().x(), edit->fontMetrics().horizontalAdvance(text))
                << name << " shows part of " << text.toStdString();
            EXPECT_LT(end.center().x(), edit->rect().right()) << name;
            EXPECT_TRUE(spin->rect().contains(edit->geometry())) << name;
        }
        for (QWidget* other : spin->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            // The designed rows lie a pixel or two into each other, which shows nothing.
            if (other != spin && other->isVisible()) {
                EXPECT_LE(other->geometry().intersected(spin->geometry()).height(), 2)
                    << other->objectName().toStdString() << " lies over " << name;
            }
        }
    }
}

TEST_F(SpinFields, TypingRefusesAllButDigitsSignsAndTheSeparator)
{
    auto editor = makeEditor();
    auto* refresh = child<SpinEdit>(*editor, "refresh");
    QSignalSpy refused(refresh, &SpinEdit::keyRefused);
    refresh->clear();
    QTest::keyClicks(refresh, "1a2 b");
    EXPECT_EQ(refresh->text(), "12");
    EXPECT_EQ(refused.count(), 3);
    QTest::keyClicks(refresh, "+-.");
    EXPECT_EQ(refresh->text(), "12+-.");
    EXPECT_EQ(refused.count(), 3);
    EXPECT_EQ(refresh->value(), 0) << "a text that is no integer stands for the lower bound";
    QTest::keyClick(refresh, Qt::Key_Backspace);
    EXPECT_EQ(refresh->text(), "12+-");
    EXPECT_EQ(refused.count(), 3);
    QTest::keyClick(refresh, Qt::Key_Up);
    EXPECT_EQ(refresh->text(), "1") << "stepping starts from the value the text stands for";
}

using PathPickers = EditorTest;

TEST_F(PathPickers, DefaultButtonsPutBackTheBuiltInValues)
{
    auto editor = makeEditor();
    const std::vector<std::string> dirs = {"ROMS", "samples", "cfg", "nvram",   "memcard",
                                           "inp",  "hi",      "sta", "artwork", "snap"};
    for (int row = 1; row <= 10; ++row) {
        const std::string name = "dir" + std::to_string(row);
        child<QLineEdit>(*editor, name.c_str())->setText("/somewhere");
        child<QAbstractButton>(*editor, ("c" + std::to_string(114 + row)).c_str())->click();
        EXPECT_EQ(textOf(*editor, name.c_str()), dirs[static_cast<std::size_t>(row - 1)]);
    }
    const std::vector<std::string> files = {"cheat.dat", "history.dat", "mameinfo.dat"};
    for (int row = 1; row <= 3; ++row) {
        const std::string name = "file" + std::to_string(row);
        child<QLineEdit>(*editor, name.c_str())->setText("/x.dat");
        child<QAbstractButton>(*editor, ("c" + std::to_string(125 + row)).c_str())->click();
        EXPECT_EQ(textOf(*editor, name.c_str()), files[static_cast<std::size_t>(row - 1)]);
    }
}

TEST_F(PathPickers, CheckBoxesEnableTheirFieldsBothWays)
{
    auto editor = makeEditor();
    auto* c21 = child<QCheckBox>(*editor, "c21");
    auto* game = child<QLineEdit>(*editor, "game");
    c21->click();
    EXPECT_TRUE(game->isEnabled());
    EXPECT_TRUE(child(*editor, "c23")->isEnabled());
    EXPECT_EQ(baseOf(game), windowColour());
    game->setText("pacman.zip");
    c21->click();
    EXPECT_FALSE(game->isEnabled());
    EXPECT_FALSE(child(*editor, "c23")->isEnabled());
    EXPECT_EQ(baseOf(game), buttonFace());
    EXPECT_EQ(game->text(), "");
    c21->click();
    EXPECT_EQ(game->text(), "");

    const std::vector<std::pair<const char*, std::vector<const char*>>> governed = {
        {"c55", {"frameskip"}},
        {"c62", {"resolution1", "resolution2", "resolution3"}},
        {"c91", {"dresolution1", "dresolution2", "dresolution3"}}};
    for (const auto& [box, fields] : governed) {
        child<QCheckBox>(*editor, box)->click();
        for (const char* f : fields) {
            auto* field = child<SpinEdit>(*editor, f);
            EXPECT_TRUE(field->isEnabled()) << f;
            EXPECT_EQ(baseOf(field), QColor(Qt::white)) << f;
            EXPECT_EQ(field->text(), "0");
            field->setValue(640);
        }
        child<QCheckBox>(*editor, box)->click();
        for (const char* f : fields) {
            auto* field = child<SpinEdit>(*editor, f);
            EXPECT_FALSE(field->isEnabled()) << f;
            EXPECT_EQ(baseOf(field), buttonFace()) << f;
            EXPECT_EQ(field->text(), "0") << f;
            field->setValue(5);
        }
        child<QCheckBox>(*editor, box)->click();
        for (const char* f : fields)
            EXPECT_EQ(child<SpinEdit>(*editor, f)->text(), "5") << "unchecking keeps the value";
    }
}

TEST_F(PathPickers, GameSearchLooksBesideTheEmulatorUnlessTheRomsPathIsAbsolute)
{
    const std::string x = dir.mkdir("x");
    const std::string roms = dir.mkdir("x/ROMS");
    const std::string other = dir.mkdir("elsewhere");
    auto editor = makeEditor();
    child<QCheckBox>(*editor, "c21")->click();
    child<QLineEdit>(*editor, "mame")->setText(QString::fromStdString(x + "/mame"));
    picker.chosen = true;
    picker.zip = "pacman.zip";
    picker.changeDirectoryVisible = true; // as Run would leave it, were it not hidden again
    child<QAbstractButton>(*editor, "c23")->click();
    ASSERT_EQ(picker.zipDirectories.size(), 1u);
    EXPECT_EQ(picker.zipDirectories[0], roms);
    EXPECT_EQ(picker.shows(), 1);
    EXPECT_EQ(picker.changeDirectoryVisibleWhenShown, std::vector<bool>{false});
    EXPECT_EQ(textOf(*editor, "game"), "pacman.zip");

    child<QLineEdit>(*editor, "dir1")->setText(QString::fromStdString(other));
    picker.chosen = false;
    child<QAbstractButton>(*editor, "c23")->click();
    ASSERT_EQ(picker.zipDirectories.size(), 2u);
    EXPECT_EQ(picker.zipDirectories[1], other);
    EXPECT_EQ(textOf(*editor, "game"), "pacman.zip") << "no game chosen keeps the text";
    EXPECT_TRUE(recorder.plain.empty());
}

TEST_F(PathPickers, GameSearchNamesAMissingDirectory)
{
    auto editor = makeEditor();
    child<QCheckBox>(*editor, "c21")->click();
    child<QAbstractButton>(*editor, "c23")->click();
    ASSERT_EQ(recorder.plain.size(), 1u);
    EXPECT_EQ(recorder.plain[0], "Directory \"/ROMS\" does not exist");
    EXPECT_EQ(picker.shows(), 0);

    child<QLineEdit>(*editor, "mame")->setText("/no/such/place/mame");
    editor->searchGame();
    ASSERT_EQ(recorder.plain.size(), 2u);
    EXPECT_EQ(recorder.plain[1], "Directory \"/no/such/place/ROMS\" does not exist");

    LineList lines = numberedLanguage(166);
    lines.set(140, "Pas de «");
    lines.set(141, "»!");
    language.setLines(lines);
    auto translated = makeEditor();
    translated->searchGame();
    EXPECT_EQ(recorder.plain.back(), "Pas de «/ROMS»!");
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(PathPickers, ExecutableSearchStartsInTheEmulatorsDirectory)
{
    const std::string emulatorDir = dir.mkdir("emu");
    auto editor = makeEditor();
    child<QLineEdit>(*editor, "mame")->setText(QString::fromStdString(emulatorDir + "/mame"));
    dialogAnswers.push_back(emulatorDir + "/mame64");
    child<QAbstractButton>(*editor, "c18")->click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].name, "d113");
    EXPECT_EQ(dialogs[0].title, "Select the MAME Exe File");
    EXPECT_EQ(dialogs[0].directory, emulatorDir);
    EXPECT_EQ(dialogs[0].filters, QStringList({"MAME Exe Files (*mame*)", "Exe Files (*)", "All Files (*)"}));
    EXPECT_EQ(textOf(*editor, "mame"), emulatorDir + "/mame64");

    child<QLineEdit>(*editor, "mame")->setText("/no/such/dir/mame");
    dialogAnswers.push_back(std::nullopt);
    child<QAbstractButton>(*editor, "c18")->click();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].directory, emulatorDir) << "a missing directory leaves the last one";
    EXPECT_EQ(textOf(*editor, "mame"), "/no/such/dir/mame") << "cancel changes nothing";
}

TEST_F(PathPickers, DirectorySearchUsesTheSharedBrowserOverTheEditor)
{
    struct Call {
        QWidget* owner;
        std::string title;
        std::string start;
    };
    std::vector<Call> calls;
    std::deque<std::optional<std::string>> picks = {std::string("/d/roms"), std::nullopt};
    arcavio::test::ChooserSwap chooser(
        [&](QWidget* owner, const std::string& title, const std::string& start) {
            calls.push_back({owner, title, start});
            auto pick = picks.front();
            picks.pop_front();
            return pick;
        });
    auto editor = makeEditor();
    child<QAbstractButton>(*editor, "c39")->click();
    child<QAbstractButton>(*editor, "c40")->click();

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].owner, editor.get());
    EXPECT_EQ(calls[1].owner, editor.get());
    EXPECT_EQ(calls[0].title, "Choose the directory form the List above:");
    EXPECT_EQ(calls[0].start, "");
    EXPECT_EQ(calls[1].start, "/d/roms");
    EXPECT_EQ(textOf(*editor, "dir1"), "/d/roms");
    EXPECT_EQ(textOf(*editor, "dir2"), "samples");
}

TEST_F(PathPickers, DatSearchFillsItsRow)
{
    auto editor = makeEditor();
    dialogAnswers.push_back("/dats/history.dat");
    child<QAbstractButton>(*editor, "c53")->click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].name, "d125");
    EXPECT_EQ(dialogs[0].filters, QStringList({"DAT Files (*.dat)", "All Files (*)"}));
    EXPECT_EQ(textOf(*editor, "file2"), "/dats/history.dat");
    EXPECT_EQ(textOf(*editor, "file1"), "cheat.dat");
}

TEST_F(PathPickers, PictureLoadAndClear)
{
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    const std::string bmp = dir.file("shot.bmp");
    ASSERT_TRUE(red.save(QString::fromStdString(bmp), "BMP"));
    const std::string text = dir.write("notes.txt", "hello");

    // The dialog can only open in the pictures directory when there is one.
    const std::string images = joinPath(platform::programDirectory(), "images");
    const bool madeImages = std::filesystem::create_directory(images);
    struct Cleanup {
        std::string path;
        bool made;
        ~Cleanup()
        {
            if (made)
                std::filesystem::remove(path);
        }
    } cleanup{images, madeImages};

    auto editor = makeEditor();
    editor->show();
    auto* image = child<QLabel>(*editor, "Image");
    auto* shape = child(*editor, "Shape1");
    dialogAnswers.push_back(bmp);
    child<QAbstractButton>(*editor, "c22")->click();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].name, "D111");
    EXPECT_EQ(dialogs[0].title, "Select the Picture");
    EXPECT_EQ(dialogs[0].directory, images);
    EXPECT_TRUE(dialogs[0].filters.join(";").contains("*.jpeg"));
    EXPECT_EQ(editor->pictureFileName(), bmp);
    EXPECT_FALSE(shape->isVisible());
    EXPECT_TRUE(image->isVisible());
    EXPECT_FALSE(image->pixmap().isNull());

    dialogAnswers.push_back(text);
    child<QAbstractButton>(*editor, "c22")->click();
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Unknown picture file extension (.txt)");
    EXPECT_EQ(editor->pictureFileName(), bmp) << "a picture that fails keeps the last good one";
    EXPECT_FALSE(image->pixmap().isNull());

    dialogAnswers.push_back(std::nullopt);
    child<QAbstractButton>(*editor, "c22")->click();
    EXPECT_EQ(editor->pictureFileName(), bmp);

    child<QAbstractButton>(*editor, "c112")->click();
    EXPECT_TRUE(editor->pictureFileName().empty());
    EXPECT_TRUE(shape->isVisible());
    EXPECT_FALSE(image->isVisible());

    dialogAnswers.push_back(bmp);
    editor->loadPictureFromDialog();
    EXPECT_TRUE(image->isVisible());
    QTest::mouseDClick(image, Qt::LeftButton);
    EXPECT_EQ(dialogs.size(), 5u) << "a double-click on the picture acts as Load";
}

TEST_F(NewEditor, HelpButtonShowsHelpAndEscapeDoesNotClose)
{
    auto editor = makeEditor();
    editor->show();
    child<QAbstractButton>(*editor, "c24")->click();
    EXPECT_EQ(helpShown, 1);
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible());
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(refreshed, 0) << "the close box does not refresh";
}

} // namespace
} // namespace arcavio::test

namespace arcavio::test {
namespace {

// Pictures of every page for a look by eye: run with --gtest_also_run_disabled_tests on a real
// display, ARCAVIO_SHOTS naming the directory to write to.
TEST_F(NewEditor, DISABLED_Screenshots)
{
    const QString out = qEnvironmentVariable("ARCAVIO_SHOTS", QStringLiteral("."));
    if (!language.loaded() && qEnvironmentVariableIsSet("ARCAVIO_SHOTS_LANGUAGE"))
        language.setLines(platform::readLines(qEnvironmentVariable("ARCAVIO_SHOTS_LANGUAGE").toStdString(),
                                              platform::kLanguageFileLimit));
    auto editor = makeEditor();
    editor->show();
    auto* outer = child<QTabWidget>(*editor, "S7984");
    auto* inner = child<QTabWidget>(*editor, "s107109e159");
    for (int i = 0; i < outer->count(); ++i) {
        outer->setCurrentIndex(i);
        QApplication::processEvents();
        editor->grab().save(QStringLiteral("%1/outer%2.png").arg(out).arg(i + 1));
    }
    outer->setCurrentIndex(5);
    for (int i = 0; i < inner->count(); ++i) {
        inner->setCurrentIndex(i);
        QApplication::processEvents();
        editor->grab().save(QStringLiteral("%1/inner%2.png").arg(out).arg(i + 1));
    }
}

TEST_F(NewEditor, ARecentMameGreysTheSettingsItHasNoCounterpartForAndNothingElse)
{
    SKIP_WITHOUT_MAME();
    auto editor = makeEditor();
    std::map<std::string, QString> before;
    for (const EditorControl& item : editorControls())
        if (!item.name.empty())
            before[item.name] = editor->findChild<QWidget*>(qtext(item.name))->toolTip();
    const auto row = std::find_if(editorControls().begin(), editorControls().end(),
                                  [](const EditorControl& item) { return item.name == "dir5"; });
    ASSERT_GT(row->follows, 0);
    QWidget* label = editor->findChild<QWidget*>(QStringLiteral("c%1").arg(row->follows));
    const QColor normal = label->palette().color(QPalette::WindowText);

    // The first field names the emulator; it is asked beside the window.
    editor->setText("mame", test::kInstalledMame);
    QWidget* memoryCards = editor->findChild<QWidget*>("dir5");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !memoryCards->toolTip().isEmpty(); }, 10000));
    std::set<int> marked;
    for (const EditorControl& item : editorControls()) {
        if (item.line < 0)
            continue;
        const QString tip = editor->findChild<QWidget*>(qtext(item.name))->toolTip();
        if (recentMameTakesLine(item.line)) {
            EXPECT_EQ(tip, before[item.name]) << item.name;
        } else {
            EXPECT_EQ(tip.toStdString(), "Not used by MAME 0.251") << item.name;
            marked.insert(item.line);
        }
    }
    // The memory cards to the artwork box: every setting without a counterpart, and the box
    // for an automatic debugger resolution with the debugger's resolution.
    EXPECT_EQ(marked, (std::set<int>{9,  11, 15, 16, 17, 21, 23, 24, 28, 30, 32, 34,
                                     36, 40, 45, 51, 52, 53, 54, 55, 56, 61, 64}));
    EXPECT_NE(label->palette().color(QPalette::WindowText), normal);
    EXPECT_EQ(captionOf(*editor, row->follows), builtinText(row->follows)); // the caption itself stays

    // Another emulator: the marks go, and the values were never touched.
    editor->setText("mame", "/bin/true");
    ASSERT_TRUE(QTest::qWaitFor([&] { return memoryCards->toolTip() == before["dir5"]; }, 10000));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), normal);
}

} // namespace
} // namespace arcavio::test
