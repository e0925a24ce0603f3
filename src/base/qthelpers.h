#pragma once

#include <cstddef>
#include <string_view>

#include <QString>

class QKeyEvent;
class QLabel;
class QPushButton;

// What the windows share on the Qt side: how a text becomes a QString, how a text from a file is
// shown, and the sizes and keys of the program's dialogs.
namespace arcavio {

// A UTF-8 text as a QString: for the program's own texts, which are short.
QString qtext(std::string_view text);

// Every text that reaches the screen from a file, or quotes one, passes through these, cut to a
// bounded prefix: laying out megabytes of text would hold the window for seconds or minutes.
//
// One line where one line fits: a status bar, a label, a caption, a hint, a title, a list row.
// Far more than any of them can show.
inline constexpr std::size_t kShownLineLimit = 1024;
// The text of a message box, which wraps: some thirty lines, so that its button stays on a
// small screen.
inline constexpr std::size_t kShownMessageLimit = 2048;

QString shownLine(std::string_view text);
QString shownMessage(std::string_view text);

// A hint from a language or skin file as a tooltip that shows it as plain text, even when it
// looks like markup. An empty hint stays empty, so no tooltip shows at all.
QString plainToolTip(const QString& text);

// A label's caption, read as buttons, check boxes and menus read theirs: "&&" shows one "&" and
// "&x" underlines x. Alt+x then moves the focus to the label's buddy; a label without a buddy
// has no partner to focus, so it shows the caption without its markers.
void setLabelCaption(QLabel* label, const QString& caption);

// The width of a push button: its designed width, or more when its text needs more in the
// button's font. The minimum width that some styles give every button does not count, so a
// short text keeps the designed size.
int buttonWidthFor(const QPushButton* button, int designed);

// Enter and Escape close a QDialog by default. A dialog without a default or cancel button asks
// this first in its keyPressEvent: true when the key was one of them, which is then ignored.
bool ignoreDialogClosingKey(QKeyEvent* event);

} // namespace arcavio
