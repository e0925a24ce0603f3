#include "editor/editortable.h"

#include <array>
#include <unordered_map>

#include "config/configuration.h"

namespace arcavio {

int outerPageIndex(EditorPage page)
{
    if (page == EditorPage::Panel)
        return -1;
    return std::min(static_cast<int>(page), kOuterPageCount - 1);
}

int corePageIndex(EditorPage page)
{
    const int index = static_cast<int>(page) - static_cast<int>(EditorPage::CoreVideo);
    return index >= 0 && index < kCorePageCount ? index : -1;
}

int outerPageCaption(int index)
{
    return 79 + index;
}

int corePageCaption(int index)
{
    static constexpr std::array<int, kCorePageCount> captions = {107, 108, 109, 159};
    return captions.at(static_cast<std::size_t>(index));
}

namespace {

using enum EditorPage;

std::string captionName(int caption)
{
    return "c" + std::to_string(caption);
}

EditorControl label(EditorPage page, int caption, int left, int top)
{
    return {page, ControlKind::Label, captionName(caption), caption, left, top};
}
EditorControl button(EditorPage page, int caption, int left, int top, int width = 0)
{
    return {page, ControlKind::Button, captionName(caption), caption, left, top, width};
}
EditorControl checkBox(EditorPage page, int caption, int left, int top)
{
    return {page, ControlKind::CheckBox, captionName(caption), caption, left, top};
}
EditorControl edit(EditorPage page, std::string name, int left, int top, int width, int follows = 0)
{
    return {page, ControlKind::Edit, std::move(name), 0, left, top, width, 0, follows};
}
EditorControl spin(EditorPage page, std::string name, int left, int top, int width, int follows,
                   SpinBounds bounds = kUnbounded)
{
    return {.page = page,
            .kind = ControlKind::Spin,
            .name = std::move(name),
            .left = left,
            .top = top,
            .width = width,
            .follows = follows,
            .bounds = bounds};
}

using Rows = std::vector<EditorControl>;

// Check boxes one under the other.
void checkBoxColumn(Rows& rows, EditorPage page, std::initializer_list<int> captions, int left, int top,
                    int step)
{
    for (int caption : captions) {
        rows.push_back(checkBox(page, caption, left, top));
        top += step;
    }
}

// Rows of a path page, 24 pixels apart: a label, an edit, its Search and its Default button.
struct PathRows {
    EditorPage page;
    int count;
    int labelCaption; // of the first row; the next rows take the next lines
    int searchCaption;
    int defaultCaption;
    const char* editPrefix; // the edits are named prefix1, prefix2, ...
    int editLeft;
    int top; // of the first edit
    int column;
};

void pathRows(Rows& rows, const PathRows& p)
{
    constexpr int buttonHeight = 23;
    for (int i = 0; i < p.count; ++i) {
        const int top = p.top + 24 * i;
        const int caption = p.labelCaption + i;
        rows.push_back(label(p.page, caption, 96, top + 3));
        rows.push_back(edit(p.page, p.editPrefix + std::to_string(i + 1), p.editLeft, top, 121, caption));
        for (const auto& [buttonCaption, left] : {std::pair{p.searchCaption + i, p.editLeft + 128},
                                                  std::pair{p.defaultCaption + i, p.editLeft + 216}}) {
            EditorControl b = button(p.page, buttonCaption, left, top - 1);
            b.height = buttonHeight;
            b.follows = caption;
            rows.push_back(b);
        }
        for (std::size_t n = rows.size() - 3; n < rows.size(); ++n)
            rows[n].column = p.column;
    }
}

// Width, height and colour depth after their label, with a fixed "x" between each two.
void resolutionRow(Rows& rows, EditorPage page, const std::string& prefix, int left, int top, int follows)
{
    rows.push_back(spin(page, prefix + "1", left, top, 52, follows));
    rows.push_back(spin(page, prefix + "2", left + 65, top, 52, follows));
    rows.push_back(spin(page, prefix + "3", left + 129, top, 43, follows));
    for (int x : {left + 55, left + 120})
        rows.push_back(
            {.page = page, .kind = ControlKind::Times, .left = x, .top = top + 4, .follows = follows});
}

Rows describeControls()
{
    Rows rows = {
        label(Details, 17, 24, 16),
        edit(Details, "mame", 111, 11, 386, 17),
        button(Details, 18, 421, 40),
        label(Details, 19, 8, 80),
        {Details, ControlKind::Frame, "Shape1", 0, 8, 104, 160, 120},
        {Details, ControlKind::Picture, "Image", 0, 8, 104, 160, 120},
        button(Details, 112, 14, 235),
        button(Details, 22, 94, 235),
        label(Details, 20, 184, 96),
        edit(Details, "Edit1", 184, 120, 329),
        checkBox(Details, 21, 185, 158),
        edit(Details, "game", 184, 179, 329),
        button(Details, 23, 436, 208),
    };
    pathRows(rows, {Directories, 10, 29, 39, 115, "dir", 184, 20, 1});
    pathRows(rows, {Files, 3, 49, 52, 126, "file", 192, 92, 2});

    rows.push_back(checkBox(Video, 55, 16, 0));
    rows.push_back(label(Video, 56, 16, 23));
    rows.push_back(spin(Video, "frameskip", 77, 19, 60, 56));
    rows.push_back(checkBox(Video, 57, 16, 49));
    checkBoxColumn(rows, Video, {58, 59, 60, 61, 62}, 16, 72, 24);
    rows.push_back(label(Video, 63, 16, 191));
    resolutionRow(rows, Video, "resolution", 77, 187, 63);
    rows.push_back(label(Video, 64, 15, 222));
    rows.push_back(spin(Video, "refresh", 85, 218, 52, 64));
    rows.push_back(checkBox(Video, 65, 16, 248));
    checkBoxColumn(rows, Video, {66, 67, 68, 69, 70, 71, 72, 130}, 272, 16, 24);
    rows.push_back(label(Video, 73, 271, 208));
    rows.push_back(edit(Video, "brightness", 391, 205, 72, 73));
    rows.push_back(label(Video, 74, 272, 241));
    rows.push_back(spin(Video, "framestorun", 349, 236, 52, 74));

    checkBoxColumn(rows, Input, {75, 76, 77, 78}, 208, 80, 32);

    rows.push_back(label(CoreVideo, 85, 168, 18));
    rows.push_back(spin(CoreVideo, "bitmapdepth", 240, 14, 52, 85));
    checkBoxColumn(rows, CoreVideo, {86, 87, 88, 89, 90, 91}, 168, 48, 24);
    rows.push_back(label(CoreVideo, 92, 168, 191));
    resolutionRow(rows, CoreVideo, "dresolution", 229, 187, 92);
    rows.push_back(label(CoreVideo, 93, 168, 220));
    rows.push_back(edit(CoreVideo, "gamma", 262, 216, 72, 93));

    rows.push_back(checkBox(CoreVector, 94, 184, 37));
    rows.push_back(checkBox(CoreVector, 95, 184, 56));
    rows.push_back(label(CoreVector, 96, 184, 108));
    rows.push_back(edit(CoreVector, "beam", 222, 104, 72, 96));
    rows.push_back(label(CoreVector, 97, 184, 140));
    rows.push_back(edit(CoreVector, "flicker", 222, 136, 72, 97));

    rows.push_back(label(CoreSound, 98, 184, 47));
    rows.push_back(spin(CoreSound, "samplerate", 253, 43, 66, 98));
    checkBoxColumn(rows, CoreSound, {99, 100, 101}, 184, 80, 24);
    rows.push_back(label(CoreSound, 102, 184, 151));
    rows.push_back(spin(CoreSound, "volume", 229, 147, 60, 102, kVolumeBounds));

    checkBoxColumn(rows, CoreMisc, {103, 104, 105, 106}, 208, 64, 24);

    rows.push_back(button(Panel, 24, 16, 13));
    rows.push_back(button(Panel, 25, 184, 12));
    rows.push_back(button(Panel, 26, 264, 12));
    rows.push_back(button(Panel, 27, 344, 12, 97));
    rows.push_back(button(Panel, 28, 448, 12));

    std::unordered_map<std::string_view, int> lineOf;
    for (const ConfigurationLine& entry : kConfigurationLines)
        lineOf.emplace(entry.control, entry.line);
    for (EditorControl& row : rows)
        if (auto it = lineOf.find(row.name); it != lineOf.end())
            row.line = it->second;
    return rows;
}

} // namespace

const std::vector<EditorControl>& editorControls()
{
    static const std::vector<EditorControl> rows = describeControls();
    return rows;
}

std::span<const std::vector<std::string_view>> editorTabChains()
{
    static const std::vector<std::vector<std::string_view>> chains = {
        {"Edit1", "c22", "c21", "game", "c23", "mame", "c18", "c112"},
        {"dir1", "c39",  "dir2", "c40",  "dir3", "c41",  "dir4", "c42",  "dir5",  "c43",
         "dir6", "c44",  "dir7", "c45",  "dir8", "c46",  "dir9", "c47",  "dir10", "c48",
         "c115", "c116", "c117", "c118", "c119", "c120", "c121", "c122", "c123",  "c124"},
        {"file1", "c52", "c53", "file2", "file3", "c54", "c126", "c127", "c128"},
        {"c55",         "frameskip",   "c57", "c58",     "c59",        "c60",         "c61", "resolution2",
         "resolution1", "resolution3", "c62", "refresh", "c65",        "c66",         "c67", "c68",
         "c69",         "c70",         "c71", "c72",     "brightness", "framestorun", "c130"},
        {"c75", "c76", "c78", "c77"},
        {"bitmapdepth", "c86", "c87", "c88", "c89", "c90", "c91", "dresolution1", "dresolution2",
         "dresolution3", "gamma"},
        {"c95", "beam", "flicker", "c94"},
        {"samplerate", "c99", "c100", "c101", "volume"},
        {"c103", "c104", "c105", "c106"},
        {"c28", "c26", "c27", "c25", "c24"},
    };
    return chains;
}

} // namespace arcavio
