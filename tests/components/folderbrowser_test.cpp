#include "components/folderbrowser.h"
#include "support/folder_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QWidget>
#include <gtest/gtest.h>

#include "support/modal.h"
#include "support/temp_dir.h"

namespace arcavio {
using arcavio::test::ChooserSwap;

namespace {

struct Asked {
    std::string title;
    std::string start;
};

TEST(FolderBrowse, OpensOnTheFolderLastPickedAndKeepsItOnCancel)
{
    std::vector<Asked> asked;
    std::optional<std::string> answer = "/roms/one";
    ChooserSwap swap([&](QWidget*, const std::string& title, const std::string& start) {
        asked.push_back({title, start});
        return answer;
    });
    FolderBrowser browse;
    browse.Title = "Pick one";
    EXPECT_TRUE(browse.Execute(nullptr));
    EXPECT_EQ(browse.Directory, "/roms/one");
    answer.reset();
    EXPECT_FALSE(browse.Execute(nullptr));
    EXPECT_EQ(browse.Directory, "/roms/one");
    answer = "/roms/two";
    EXPECT_TRUE(browse.Execute(nullptr));
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].title, "Pick one");
    EXPECT_EQ(asked[0].start, "");
    EXPECT_EQ(asked[1].start, "/roms/one");
    EXPECT_EQ(asked[2].start, "/roms/one");
    EXPECT_EQ(browse.Directory, "/roms/two");
}

TEST(FolderBrowse, TheFolderDialogShowsTheTitleStartsOnTheDirectoryAndGivesAFullPath)
{
    test::TempDir dir;
    const std::string sub = dir.mkdir("sub");
    QWidget owner;
    FolderBrowser browse;
    browse.Title = "Select a directory from the list:";
    browse.Directory = dir.path();

    QString shownTitle, shownStart;
    test::whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownTitle = dialog->windowTitle();
        shownStart = dialog->directory().absolutePath();
        dialog->setDirectory(QString::fromStdString(sub));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_TRUE(browse.Execute(&owner));
    EXPECT_EQ(shownTitle.toStdString(), "Select a directory from the list:");
    EXPECT_EQ(shownStart, QDir(QString::fromStdString(dir.path())).absolutePath());
    EXPECT_EQ(browse.Directory, sub);

    test::whenModal([&](QWidget* modal) {
        shownStart = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
        modal->close();
    });
    EXPECT_FALSE(browse.Execute(&owner));
    EXPECT_EQ(shownStart.toStdString(), sub);
    EXPECT_EQ(browse.Directory, sub);

    // With no folder yet the dialog starts at the top of the user's own tree.
    FolderBrowser fresh;
    test::whenModal([&](QWidget* modal) {
        shownStart = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
        modal->close();
    });
    EXPECT_FALSE(fresh.Execute(&owner));
    EXPECT_EQ(shownStart, QDir::homePath());
    EXPECT_EQ(fresh.Directory, "");
}

} // namespace
} // namespace arcavio
