// Creating and showing a fresh editor window, which New Configuration and Edit do each time.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "base/language.h"
#include "editor/configurationeditor.h"
#include "support/fake_game_picker.h"

namespace {

void run(benchmark::State& state, const arcavio::Language& language)
{
    arcavio::test::FakeGamePicker games;
    const arcavio::EditorContext context{.language = language,
                                         .gamePicker = games,
                                         .showHelp = {},
                                         .askConfigurationName = {},
                                         .refreshList = {},
                                         .owner = nullptr,
                                         .runFileDialog = {}};
    for (auto _ : state) {
        arcavio::ConfigurationEditor editor(context);
        editor.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(editor.isVisible());
    }
}

void CreateAndShowEditor(benchmark::State& state)
{
    run(state, arcavio::Language());
}

void CreateAndShowTranslatedEditor(benchmark::State& state)
{
    arcavio::LineList lines;
    for (int n = 0; n < arcavio::kLanguageLineCount; ++n)
        lines.append("Text " + std::to_string(n));
    run(state, arcavio::Language(lines));
}

BENCHMARK(CreateAndShowEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(CreateAndShowTranslatedEditor)->Unit(benchmark::kMillisecond);

} // namespace
