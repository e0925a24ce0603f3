#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "base/language.h"
#include "editor/configurationeditor.h"
#include "editor/spinedit.h"
#include "support/fake_game_picker.h"
#include "support/modal.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio::test {

// What a file dialog looked like when the editor ran it.
struct DialogRun {
    std::string name;
    std::string title;
    std::string directory;
    QStringList filters;
};

inline LineList numberedLanguage(int count)
{
    LineList lines;
    for (int n = 0; n < count; ++n)
        lines.append("L" + std::to_string(n));
    return lines;
}

class EditorTest : public ::testing::Test {
  protected:
    EditorContext context()
    {
        EditorContext c{.language = language,
                        .gamePicker = picker,
                        .showHelp = [this] { ++helpShown; },
                        .askConfigurationName =
                            [this] {
                                ++nameAsked;
                                plainBeforeAsk = recorder.plain.size();
                                if (names.empty())
                                    return std::string();
                                std::string name = names.front();
                                names.pop_front();
                                return name;
                            },
                        .refreshList = [this] { ++refreshed; },
                        .owner = nullptr,
                        .runFileDialog = [this](QFileDialog& d) -> std::optional<std::string> {
                            dialogs.push_back({d.objectName().toStdString(), d.windowTitle().toStdString(),
                                               d.directory().absolutePath().toStdString(), d.nameFilters()});
                            if (dialogAnswers.empty())
                                return std::nullopt;
                            auto answer = dialogAnswers.front();
                            dialogAnswers.pop_front();
                            return answer;
                        }};
        return c;
    }

    std::unique_ptr<ConfigurationEditor> makeEditor()
    {
        return std::make_unique<ConfigurationEditor>(context());
    }

    template <class W = QWidget> static W* child(QWidget& editor, const char* name)
    {
        W* w = editor.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static std::string textOf(QWidget& editor, const char* name)
    {
        return child<QLineEdit>(editor, name)->text().toStdString();
    }

    RecordingMessages recorder;
    Language language;
    FakeGamePicker picker;
    TempDir dir;
    int helpShown = 0;
    int nameAsked = 0;
    std::size_t plainBeforeAsk = 0;
    int refreshed = 0;
    NextTurn nextTurn;
    std::deque<std::string> names;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::vector<DialogRun> dialogs;
};

} // namespace arcavio::test
