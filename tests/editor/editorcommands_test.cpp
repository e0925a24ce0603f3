#include <map>

#include <QAbstractButton>
#include <QImage>
#include <QLabel>

#include "config/configuration.h"
#include "editor/editor_fixture.h"
#include "editor/editorcommands.h"
#include "text/errors.h"

namespace arcavio::test {
namespace {

// What a user sees of every line's control: its value and whether it can be changed.
std::map<std::string, std::string> controlStates(QWidget& editor)
{
    std::map<std::string, std::string> states;
    for (const ConfigurationLine& entry : kConfigurationLines) {
        if (entry.form == ValueForm::Picture)
            continue;
        QWidget* w = editor.findChild<QWidget*>(
            QString::fromLatin1(entry.control.data(), static_cast<qsizetype>(entry.control.size())));
        std::string value;
        if (auto* box = qobject_cast<QCheckBox*>(w))
            value = box->isChecked() ? "checked" : "unchecked";
        else if (auto* line = qobject_cast<QLineEdit*>(w))
            value = line->text().toStdString();
        else if (auto* s = qobject_cast<SpinEdit*>(w))
            value = s->text().toStdString();
        states[std::string(entry.control)] = value + (w->isEnabled() ? "" : " [disabled]");
    }
    return states;
}

// A configuration that differs from the defaults nearly everywhere.
LineList unusualConfiguration(const std::string& picture)
{
    LineList lines = defaultConfiguration();
    lines.set(0, "/opt/mame/mame");
    lines.set(1, picture);
    lines.set(2, " About, with blanks ");
    lines.set(3, "1");
    lines.set(4, "pacman.zip");
    lines.set(5, "/roms");
    lines.set(14, "shots");
    lines.set(16, "");
    lines.set(18, "0");
    lines.set(19, "2");
    lines.set(25, "0");
    lines.set(26, "640");
    lines.set(27, "480");
    lines.set(28, "16");
    lines.set(29, "60");
    lines.set(30, "1");
    lines.set(31, "0");
    lines.set(39, "1.5");
    lines.set(40, "-3");
    lines.set(45, "32");
    lines.set(51, "0");
    lines.set(52, "800");
    lines.set(57, "2,5");
    lines.set(59, "22050");
    lines.set(62, "0");
    lines.set(63, "-12");
    lines.set(67, "1");
    lines.set(68, "");
    return lines;
}

using EditCommand = EditorTest;

TEST_F(EditCommand, DoesNothingWithoutAFile)
{
    LineList listBox{"kept"};
    nextTurn.run([](QWidget* w) {
        if (w)
            w->close();
    });
    editConfiguration(context(), "", listBox);
    editConfiguration(context(), dir.file("gone.av2"), listBox);
    QApplication::processEvents();
    EXPECT_EQ(refreshed, 0);
    EXPECT_EQ(listBox, LineList{"kept"});
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(EditCommand, ShowsTheFileModallyWithLine110AndRefreshesAfter)
{
    LineList lines = numberedLanguage(166);
    lines.set(110, "Modifier");
    language.setLines(lines);
    const std::string path = dir.write("game.av2", defaultConfiguration().toText());
    LineList listBox;
    std::string seenTitle, seenFile;
    nextTurn.run([&](QWidget* w) {
        auto* editor = qobject_cast<ConfigurationEditor*>(w);
        ASSERT_NE(editor, nullptr);
        seenTitle = editor->windowTitle().toStdString();
        seenFile = editor->ConfigFileName;
        editor->findChild<QAbstractButton*>("c28")->click();
    });
    guarded([&] { editConfiguration(context(), path, listBox); });
    EXPECT_TRUE(nextTurn.ran());
    EXPECT_EQ(seenTitle, "Modifier");
    EXPECT_EQ(seenFile, path);
    EXPECT_EQ(listBox, defaultConfiguration());
    EXPECT_EQ(refreshed, 2) << "Close refreshes, and so does the command after it";
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(EditCommand, AFaultyFileShowsNoEditor)
{
    const std::string shortFile = dir.write("short.av2", [] {
        LineList l = defaultConfiguration();
        LineList cut;
        for (int n = 0; n < 68; ++n)
            cut.append(l.at(n));
        return cut.toText();
    }());
    LineList bad = defaultConfiguration();
    bad.set(26, "640x480");
    const std::string badFile = dir.write("bad.av2", bad.toText());
    LineList badPictureLines = defaultConfiguration();
    badPictureLines.set(1, dir.write("broken.bmp", "not a bitmap"));
    const std::string badPicture = dir.write("picture.av2", badPictureLines.toText());

    nextTurn.run([](QWidget* w) {
        if (w)
            w->close();
    });
    LineList listBox;
    for (const std::string& path : {shortFile, badFile, badPicture})
        guarded([&] { editConfiguration(context(), path, listBox); });
    QApplication::processEvents();
    EXPECT_FALSE(nextTurn.ran() && QApplication::activeModalWidget());
    ASSERT_EQ(recorder.errors.size(), 3u);
    EXPECT_EQ(recorder.errors[0], "List index out of bounds (68)");
    EXPECT_EQ(recorder.errors[1], "'640x480' is not a valid integer value");
    EXPECT_EQ(recorder.errors[2], "Bitmap image is not valid");
    EXPECT_EQ(refreshed, 0);

    language.setLines(numberedLanguage(110));
    const std::string good = dir.write("good.av2", defaultConfiguration().toText());
    guarded([&] { editConfiguration(context(), good, listBox); });
    ASSERT_EQ(recorder.errors.size(), 5u);
    EXPECT_EQ(recorder.errors[3], "List index out of bounds (112)")
        << "creation stops at the first missing line";
    EXPECT_EQ(recorder.errors[4], "List index out of bounds (110)");
    EXPECT_EQ(refreshed, 0);
}

using NewCommand = EditorTest;

TEST_F(NewCommand, ShowsAFreshEditorAndRefreshesAfter)
{
    language.setLines(numberedLanguage(159));
    std::string title;
    nextTurn.run([&](QWidget* w) {
        ASSERT_NE(w, nullptr);
        title = w->windowTitle().toStdString();
        w->close();
    });
    guarded([&] { newConfiguration(context()); });
    EXPECT_TRUE(nextTurn.ran());
    EXPECT_EQ(title, "L110");
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "List index out of bounds (159)") << "the editor still shows";
    EXPECT_EQ(refreshed, 1);
}

TEST_F(NewCommand, ALanguageFileWithoutLine110ShowsNoEditor)
{
    LineList lines;
    for (int n = 0; n < 100; ++n)
        lines.append("L" + std::to_string(n));
    language.setLines(lines);
    nextTurn.run([](QWidget* w) {
        if (w)
            w->close();
    });
    guarded([&] { newConfiguration(context()); });
    QApplication::processEvents();
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[0], "List index out of bounds (100)");
    EXPECT_EQ(recorder.errors[1], "List index out of bounds (110)");
    EXPECT_EQ(refreshed, 0);
}

using RoundTrip = EditorTest;

TEST_F(RoundTrip, ASavedFileLoadsBackIntoTheSameStatesAndSavesByteForByte)
{
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const std::string picture = dir.file("pic.bmp");
    ASSERT_TRUE(blue.save(QString::fromStdString(picture), "BMP"));

    const std::string first = dir.file("first.av2");
    writeConfiguration(first, unusualConfiguration(picture));
    auto editor = makeEditor();
    editor->loadConfiguration(readConfiguration(first));
    EXPECT_FALSE(editor->findChild<QLabel*>("Image")->pixmap().isNull());
    const auto states = controlStates(*editor);
    EXPECT_EQ(states.at("game"), "pacman.zip");
    EXPECT_EQ(states.at("frameskip"), "2");
    EXPECT_EQ(states.at("resolution1"), "640");
    EXPECT_EQ(states.at("dresolution1"), "800");
    EXPECT_EQ(states.at("dresolution2"), "0");
    EXPECT_EQ(states.at("c62"), "unchecked");

    const std::string second = dir.file("second.av2");
    names.push_back(second);
    editor->save();
    EXPECT_EQ(readBytes(second), readBytes(first));

    auto again = makeEditor();
    again->loadConfiguration(readConfiguration(second));
    EXPECT_EQ(controlStates(*again), states);
    EXPECT_EQ(again->pictureFileName(), picture);
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(RoundTrip, ANewEditorSavesTheDefaultLines)
{
    auto editor = makeEditor();
    const std::string path = dir.file("new.av2");
    names.push_back(path);
    editor->save();
    EXPECT_EQ(readBytes(path), defaultConfiguration().toText());
    EXPECT_EQ(readConfiguration(path), defaultConfiguration());
}

TEST_F(RoundTrip, ValuesAreReadAsTheEditorReadsThem)
{
    LineList lines = defaultConfiguration();
    lines.set(18, "true");
    lines.set(19, "007");
    lines.set(23, " 1");
    lines.set(26, " 12");
    lines.set(63, "10");
    lines.set(1, dir.file("vanished.bmp"));
    const std::string path = dir.write("odd.av2", lines.toText());

    auto editor = makeEditor();
    editor->loadConfiguration(readConfiguration(path));
    EXPECT_FALSE(child<QCheckBox>(*editor, "c55")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*editor, "c60")->isChecked());
    EXPECT_TRUE(child(*editor, "frameskip")->isEnabled());
    EXPECT_EQ(child<SpinEdit>(*editor, "frameskip")->text(), "7");
    EXPECT_EQ(child<SpinEdit>(*editor, "volume")->text(), "0");
    EXPECT_EQ(editor->pictureFileName(), dir.file("vanished.bmp"));
    EXPECT_TRUE(child<QLabel>(*editor, "Image")->pixmap().isNull());

    editor->ConfigFileName = path;
    editor->save();
    const LineList saved = readConfiguration(path);
    EXPECT_EQ(saved.at(18), "0");
    EXPECT_EQ(saved.at(19), "7");
    EXPECT_EQ(saved.at(23), "0");
    EXPECT_EQ(saved.at(26), "12");
    EXPECT_EQ(saved.at(63), "0");
    EXPECT_EQ(saved.at(1), dir.file("vanished.bmp"));

    lines = defaultConfiguration();
    lines.set(63, "-50");
    auto quiet = makeEditor();
    quiet->loadConfiguration(lines);
    EXPECT_EQ(child<SpinEdit>(*quiet, "volume")->text(), "-32");
}

TEST_F(RoundTrip, GovernedValuesAreKeptAsRead)
{
    LineList lines = defaultConfiguration();
    lines.set(19, "3");
    lines.set(3, "0");
    lines.set(4, "galaga.zip");
    auto editor = makeEditor();
    editor->loadConfiguration(lines);
    auto* frameskip = child<SpinEdit>(*editor, "frameskip");
    EXPECT_TRUE(child<QCheckBox>(*editor, "c55")->isChecked());
    EXPECT_FALSE(frameskip->isEnabled());
    EXPECT_EQ(frameskip->text(), "3");
    auto* game = child<QLineEdit>(*editor, "game");
    EXPECT_FALSE(game->isEnabled());
    EXPECT_EQ(game->text(), "galaga.zip");
    EXPECT_EQ(linesFromControls(*editor).at(19), "3");
    EXPECT_EQ(linesFromControls(*editor).at(4), "galaga.zip");

    child<QCheckBox>(*editor, "c21")->click();
    EXPECT_EQ(game->text(), "galaga.zip") << "checking keeps the name";
    child<QCheckBox>(*editor, "c21")->click();
    EXPECT_EQ(game->text(), "") << "unchecking empties it";
}

TEST_F(RoundTrip, LineEndsAndExtraLinesAreNormalisedOnSave)
{
    LineList lines = defaultConfiguration();
    std::string lfOnly;
    for (const std::string& l : lines.lines())
        lfOnly += l + "\n";
    lfOnly += "line 69\nline 70\n";
    const std::string path = dir.write("unix.av2", lfOnly);
    auto editor = makeEditor();
    editor->loadConfiguration(readConfiguration(path));
    editor->ConfigFileName = path;
    editor->save();
    EXPECT_EQ(readBytes(path), defaultConfiguration().toText());
}

} // namespace
} // namespace arcavio::test
