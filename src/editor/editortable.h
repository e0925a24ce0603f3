#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editorrules.h"

namespace arcavio {

// Where a control of the editor stands: the six pages of its notebook (the last one holds the
// inner notebook of four CORE pages) and the button panel below them.
enum class EditorPage {
    Details,
    Directories,
    Files,
    Video,
    Input,
    CoreVideo,
    CoreVector,
    CoreSound,
    CoreMisc,
    Panel
};
inline constexpr int kOuterPageCount = 6;
inline constexpr int kCorePageCount = 4;

// The outer page a page stands on (the CORE pages on the sixth); -1 for the panel.
int outerPageIndex(EditorPage page);
// A CORE page's place in the inner notebook; -1 for the other pages.
int corePageIndex(EditorPage page);
// The language lines of the tab captions.
int outerPageCaption(int index);
int corePageCaption(int index);

enum class ControlKind {
    Label,    // fits its caption
    Times,    // the fixed "x" between two resolution fields
    Button,   // 75 x 25 unless the row says otherwise
    CheckBox, // fits its caption; checked as its line's default says
    Edit,     // 21 high; holds its line's default
    Spin,     // 22 high; holds its line's default
    Frame,    // the empty white frame behind the picture
    Picture,
};

// One control of the editor as it is built, before a long caption pushes it aside.
struct EditorControl {
    EditorPage page;
    ControlKind kind;
    std::string name{}; // objectName; "c" and the caption's line for captioned controls; empty for "x"
    int caption = 0;    // language line of its built-in text; 0 for none
    int left = 0;
    int top = 0;
    int width = 0;       // 0 for the kind's own width
    int height = 0;      // 0 for the kind's own height; a button given one keeps it fixed
    int follows = 0;     // language line of the label it stands after on its row; 0 for none
    int column = -1;     // rows of one column move right together; -1 for a lone row
    int line = -1;       // configuration line it shows, taken from the configuration table
    SpinBounds bounds{}; // spin fields only
};

// Every control of the editor in the order it is built (which is also the order they stack in).
// The values they start with are the configuration table's defaults.
const std::vector<EditorControl>& editorControls();

// Keyboard focus order: one chain for each page and for the panel.
std::span<const std::vector<std::string_view>> editorTabChains();

} // namespace arcavio
