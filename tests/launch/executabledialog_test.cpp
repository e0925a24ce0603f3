#include "launch/executabledialog.h"

#include <QFileDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "components/widgetowner.h"
#include "support/fake_emulator.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

TEST(EmulatorFileDialog, FixedFilterAndTheLastFileOfferedAgain)
{
    test::TempDir dir;
    const std::string program = dir.write("mame", "x");
    QWidget window;
    EmulatorFileDialog d113(&window);
    d113.setTitle("Elige el ejecutable");

    QStringList filters, offered;
    QString selectedFilter, title, name;
    QTimer::singleShot(0, [&] {
        QFileDialog* d = d113.dialog();
        filters = d->nameFilters();
        selectedFilter = d->selectedNameFilter();
        title = d->windowTitle();
        name = d->objectName();
        d->selectFile(QString::fromStdString(program));
        static_cast<QDialog*>(d)->accept(); // protected in QFileDialog, public in its base
    });
    EXPECT_EQ(d113.chooseExecutable(), program);
    EXPECT_EQ(name, "d113");
    EXPECT_EQ(title, "Elige el ejecutable");
    EXPECT_EQ(filters, (QStringList{"MAME Exe Files (*mame*)", "Exe Files (*)", "All Files (*)"}));
    EXPECT_EQ(selectedFilter, "MAME Exe Files (*mame*)");

    QTimer::singleShot(0, [&] {
        offered = d113.dialog()->selectedFiles();
        d113.dialog()->reject();
    });
    EXPECT_EQ(d113.chooseExecutable(), std::nullopt);
    EXPECT_EQ(offered, QStringList{QString::fromStdString(program)});
}

// The launcher's owner is hidden while the program runs; showing it again runs its show handler.
class ShowCountingWindow final : public QWidget {
  public:
    int shows = 0;
    int hides = 0;

  protected:
    void showEvent(QShowEvent*) override { ++shows; }
    void hideEvent(QHideEvent*) override { ++hides; }
};

TEST(WidgetOwner, HiddenWhileTheProgramRunsAndShownAfter)
{
    test::TempDir dir;
    ShowCountingWindow window;
    window.show();
    WidgetOwner owner(&window);
    ProcessLauncher executor(&owner);
    executor.FileName = test::fakeEmulatorPath();
    test::FakeEmulatorSettings settings(dir.file("log"), 4, 200);
    EXPECT_EQ(executor.Execute(), 4);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.hides, 1);
    EXPECT_EQ(window.shows, 2);

    executor.FileName = dir.file("missing");
    EXPECT_EQ(executor.Execute(), 1);
    EXPECT_EQ(window.hides, 1);
    EXPECT_EQ(window.shows, 2);
}

} // namespace
} // namespace arcavio
