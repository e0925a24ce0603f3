#pragma once

#include <QString>

#include "launch/launch.h"

class QFileDialog;
class QWidget;

namespace arcavio {

// The open-file dialog `d113` for the emulator's program file: fixed filter, first entry
// preselected, the last chosen file offered again. Created on first use.
class EmulatorFileDialog final : public ExecutableDialog {
  public:
    explicit EmulatorFileDialog(QWidget* parent);
    ~EmulatorFileDialog() override;
    EmulatorFileDialog(const EmulatorFileDialog&) = delete;
    EmulatorFileDialog& operator=(const EmulatorFileDialog&) = delete;

    void setTitle(const QString& title); // language line 113
    QString title() const { return title_; }

    std::optional<std::string> chooseExecutable() override;

    // The dialog itself, created when first asked for (tests drive it).
    QFileDialog* dialog();

  private:
    QWidget* parent_;
    QFileDialog* dialog_ = nullptr;
    QString title_;
    QString last_;
};

// An open-file dialog for an emulator's program file, with the fixed filter, its first entry
// preselected: Kwikstart's `d113` and the name import's.
QFileDialog* newEmulatorFileDialog(QWidget* parent, const QString& objectName, const QString& title);

// "MAME Exe Files|*mame*.exe|Exe Files|*.exe|All Files|*.*"
inline constexpr const char* kExecutableFilter = "MAME Exe Files|*mame*.exe|Exe Files|*.exe|All Files|*.*";

} // namespace arcavio
