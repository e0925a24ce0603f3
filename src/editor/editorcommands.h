#pragma once

#include <string>

#include "editor/configurationeditor.h"
#include "text/linelist.h"

namespace arcavio {

// New Configuration: a fresh editor with the default values, shown modally; the list is
// refreshed after. Throws (and shows no editor) when a loaded language file lacks line 110.
void newConfiguration(const EditorContext& context);

// Edit: the configuration at selectedPath read into editLines and into a fresh editor, shown
// modally; the list is refreshed after. Nothing happens when no file is there. A failure in
// reading or converting the file, loading its picture or reading line 110 throws, and no
// editor is shown.
void editConfiguration(const EditorContext& context, const std::string& selectedPath, LineList& editLines);

} // namespace arcavio
