#pragma once

class QDialog;

namespace arcavio {

// Runs a dialog modally and returns its result. Whatever popup the dialog opened closes with it:
// a file dialog's name-completion list, left open when Enter picks a typed name, would otherwise
// stay on screen over the window below and take its next click.
int execDialog(QDialog& dialog);

} // namespace arcavio
