// The skin step and the show handler's six shape rebuilds, for the example skin and for a skin
// whose pictures are 256 x 256: each figure less NoSkin's is what the skin costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <filesystem>

#include "app/mainwindow.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace {

const char* kButtonFiles[] = {"runn", "runu", "runc", "editn", "editu", "editc", "deln", "delu", "delc",
                              "newn", "newu", "newc", "refn",  "refu",  "refc",  "ksn",  "ksu",  "ksc"};

// The example skin's layout with busy 256 x 256 pictures: rings and noise around a key colour.
std::string largeSkin(const arcavio::test::TempDir& dir)
{
    const std::string skin = dir.file("large");
    std::filesystem::copy(ARCAVIO_SOURCE_DIR "/skins/neon", skin);
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    QPainter painter(&picture);
    for (int r = 120; r > 0; r -= 6) {
        painter.setBrush(QColor::fromHsv((r * 7) % 360, 200, 220));
        painter.drawEllipse(QPoint(128, 128), r, r);
    }
    painter.end();
    for (int i = 0; i < 4000; ++i)
        picture.setPixel((i * 7919) % 256, (i * 104729) % 256, 0xFF00FF);
    for (const char* name : kButtonFiles)
        picture.save(QString::fromStdString(skin + "/" + name + ".bmp"), "BMP");
    return skin;
}

void skinStepAndShow(benchmark::State& state, const std::string& skin)
{
    arcavio::test::TempDir work;
    arcavio::test::CurrentDirectory cd(work.path());
    arcavio::test::RecordingMessages messages;
    // Creating and showing the window; the skin's cost is the difference to NoSkin.
    for (auto _ : state) {
        arcavio::MainWindow window(nullptr, skin);
        window.show();
        benchmark::DoNotOptimize(window.regionRefresh());
    }
    if (!messages.errors.empty())
        state.SkipWithError(messages.errors.front().c_str());
}

void NoSkin(benchmark::State& state)
{
    skinStepAndShow(state, "/nonexistent/skin");
}
BENCHMARK(NoSkin)->Unit(benchmark::kMillisecond);

void ExampleSkin(benchmark::State& state)
{
    skinStepAndShow(state, ARCAVIO_SOURCE_DIR "/skins/neon");
}
BENCHMARK(ExampleSkin)->Unit(benchmark::kMillisecond);

void Skin256(benchmark::State& state)
{
    static arcavio::test::TempDir dir;
    static const std::string skin = largeSkin(dir);
    skinStepAndShow(state, skin);
}
BENCHMARK(Skin256)->Unit(benchmark::kMillisecond);

} // namespace
