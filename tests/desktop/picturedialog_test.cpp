#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "support/modal.h"
#include "support/qt_printers.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"
#include "window_frames.h"

namespace arcavio::test {
namespace {

// Picking a picture by typing its name opens the name-completion list of the file dialog; when
// Enter picks the name, the list must close with the dialog, or it stays over the editor and
// takes the next click.
TEST(PictureDialog, NothingOfItStaysOnScreenAfterANameIsTypedAndEntered)
{
    TempDir work;
    CurrentDirectory current(work.path());
    RecordingMessages messages;
    const std::string pictures = work.mkdir("pictures");
    QImage picture(16, 12, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const char* name : {"pinball.bmp", "pong.bmp", "puckman.bmp"})
        ASSERT_TRUE(picture.save(QString::fromStdString(pictures + "/" + name)));

    Program program;
    program.mainWindow.show();
    ConfigurationEditor editor(program.editor);
    WindowFrames frames;
    bool typed = false;
    QTimer::singleShot(0, &editor, [&] {
        frames.settled(&editor);
        whenModal([&](QWidget* dialog) {
            ASSERT_EQ(dialog->objectName(), "D111");
            frames.settled(dialog);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setFocus();
            QTest::keyClicks(name, QString::fromStdString(pictures + "/p"));
            // The completion list comes up while the name is typed.
            for (int wait = 0; wait < 100 && frames.mappedPopups().empty(); ++wait)
                QTest::qWait(10);
            EXPECT_FALSE(frames.mappedPopups().empty()) << "no completion list came up";
            QTest::keyClicks(name, "inball.bmp");
            QTest::qWait(50);
            typed = true;
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(editor.findChild<QPushButton*>("c22"), Qt::LeftButton);
        QTest::qWait(300);
        for (const QRect& r : frames.mappedPopups())
            ADD_FAILURE() << "a popup stayed on screen: " << ::testing::PrintToString(r);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                EXPECT_TRUE(window == &editor || window == &program.mainWindow)
                    << window->metaObject()->className() << " " << window->objectName().toStdString();
            }
        }
        editor.done(QDialog::Rejected);
    });
    editor.exec();
    EXPECT_TRUE(typed);
    EXPECT_EQ(editor.picture(), pictures + "/pinball.bmp");
}

} // namespace
} // namespace arcavio::test
