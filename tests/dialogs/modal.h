#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

namespace arcavio::test {

// Runs `whileOpen` once the dialog's modal loop is running, then waits for the dialog to close.
// A dialog that does not close is closed after a while and the test fails instead of hanging.
template <class Dialog> void runModal(Dialog& dialog, const std::function<void()>& whileOpen)
{
    bool ran = false;
    bool forced = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        whileOpen();
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, &dialog, [&] {
        forced = true;
        dialog.done(QDialog::Rejected);
    });
    safety.start(5000);
    dialog.showModal();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(forced) << "the dialog stayed open";
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace arcavio::test
