#pragma once

#include <cstddef>
#include <string_view>

#include <QString>

// Every text that reaches the screen from a file, or quotes one, passes through here, cut to a
// bounded prefix: laying out megabytes of text would hold the window for seconds or minutes.
namespace arcavio {

// One line where one line fits: a status bar, a label, a caption, a hint, a title, a list row.
// Far more than any of them can show.
inline constexpr std::size_t kShownLineLimit = 1024;
// The text of a message box, which wraps: some thirty lines, so that its button stays on a
// small screen.
inline constexpr std::size_t kShownMessageLimit = 2048;

QString shownLine(std::string_view text);
QString shownMessage(std::string_view text);

} // namespace arcavio
