#include "editor/editortable.h"

#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "base/language.h"
#include "config/configuration.h"

namespace arcavio {
namespace {

const std::vector<EditorControl>& rows()
{
    return editorControls();
}

bool isPageCaption(int line)
{
    for (int i = 0; i < kOuterPageCount; ++i)
        if (outerPageCaption(i) == line)
            return true;
    for (int i = 0; i < kCorePageCount; ++i)
        if (corePageCaption(i) == line)
            return true;
    return false;
}

ControlKind kindFor(ValueForm form)
{
    switch (form) {
    case ValueForm::Flag:
        return ControlKind::CheckBox;
    case ValueForm::Integer:
        return ControlKind::Spin;
    case ValueForm::Picture:
        return ControlKind::Picture;
    case ValueForm::Text:
    case ValueForm::NumberText:
    case ValueForm::Directory:
        break;
    }
    return ControlKind::Edit;
}

bool holdsAValue(ControlKind kind)
{
    return kind == ControlKind::CheckBox || kind == ControlKind::Spin || kind == ControlKind::Edit ||
           kind == ControlKind::Picture;
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::CheckBox || kind == ControlKind::Spin || kind == ControlKind::Edit ||
           kind == ControlKind::Button;
}

TEST(EditorTable, EveryConfigurationLineHasExactlyOneControlOfItsForm)
{
    for (const ConfigurationLine& entry : kConfigurationLines) {
        int found = 0;
        for (const EditorControl& row : rows())
            if (row.name == entry.control) {
                ++found;
                EXPECT_EQ(row.line, entry.line) << row.name;
                EXPECT_EQ(row.kind, kindFor(entry.form)) << row.name;
            }
        EXPECT_EQ(found, 1) << "line " << entry.line << " (" << entry.control << ")";
    }
    // A field that no line names would be neither loaded nor saved.
    for (const EditorControl& row : rows()) {
        if (holdsAValue(row.kind)) {
            EXPECT_GE(row.line, 0) << row.name << " shows no configuration line";
        } else {
            EXPECT_EQ(row.line, -1) << row.name;
        }
    }
}

TEST(EditorTable, NamesAreUniqueAndCaptionedControlsAreNamedForTheirLine)
{
    std::set<std::string> names = {"c110", "S7984", "s107109e159", "Panel1"};
    for (const EditorControl& row : rows()) {
        const bool captioned = row.kind == ControlKind::Label || row.kind == ControlKind::Button ||
                               row.kind == ControlKind::CheckBox;
        if (captioned) {
            EXPECT_EQ(row.name, "c" + std::to_string(row.caption));
        } else {
            EXPECT_EQ(row.caption, 0) << row.name;
        }
        if (row.kind == ControlKind::Times) {
            EXPECT_TRUE(row.name.empty());
            continue;
        }
        EXPECT_TRUE(names.insert(row.name).second) << "two controls named " << row.name;
    }
}

// The lines read at creation are exactly the captions of the controls, the pages' tabs and the
// dialogs' titles: a caption outside them would never be translated, and one of them without a
// control would be read for nothing.
TEST(EditorTable, EveryCaptionLineReadAtCreationCaptionsOneControl)
{
    const std::set<int> dialogTitles = {111, 113, 114, 131};
    std::multiset<int> captions;
    for (const EditorControl& row : rows())
        if (row.caption != 0) {
            captions.insert(row.caption);
            EXPECT_FALSE(builtinText(row.caption).empty()) << row.name;
        }
    std::multiset<int> read;
    for (int line : editorLanguageLines())
        if (!isPageCaption(line) && !dialogTitles.contains(line))
            read.insert(line);
    EXPECT_EQ(captions, read);
    for (int i = 0; i < kCorePageCount; ++i)
        EXPECT_FALSE(builtinText(corePageCaption(i)).empty());
}

TEST(EditorTable, OnlySpinFieldsAreBoundedAndTheirDefaultsLieWithin)
{
    int bounded = 0;
    for (const EditorControl& row : rows()) {
        if (row.kind != ControlKind::Spin) {
            EXPECT_FALSE(row.bounds.bounded()) << row.name;
            continue;
        }
        EXPECT_LE(row.bounds.min, row.bounds.max) << row.name;
        const std::int32_t start =
            integerValue(kConfigurationLines.at(static_cast<std::size_t>(row.line)).defaultValue);
        EXPECT_EQ(clampToBounds(start, row.bounds), start) << row.name;
        if (row.bounds.bounded()) {
            ++bounded;
            EXPECT_EQ(row.line, line::Volume);
            EXPECT_EQ(row.bounds.min, kVolumeMin);
            EXPECT_EQ(row.bounds.max, kVolumeMax);
        }
    }
    EXPECT_EQ(bounded, 1);
}

// The pages are built in table order, so a page's controls must stand together; a field
// moves right of its label, so the label must come first on the same page.
TEST(EditorTable, PagesComeInOrderAndFieldsFollowALabelOfTheirPage)
{
    std::map<int, const EditorControl*> labels;
    std::map<int, int> columnOfLabel;
    EditorPage previous = EditorPage::Details;
    for (const EditorControl& row : rows()) {
        EXPECT_GE(row.page, previous) << row.name << " stands apart from its page";
        previous = row.page;
        EXPECT_GE(row.left, 0) << row.name;
        EXPECT_GE(row.top, 0) << row.name;
        EXPECT_LE(row.left + row.width, 536) << row.name;
        EXPECT_LT(row.top, row.page == EditorPage::Panel ? 50 : 270) << row.name;
        if (row.kind == ControlKind::Label)
            labels[row.caption] = &row;
        if (row.follows == 0) {
            EXPECT_EQ(row.column, -1) << row.name << " is in a column but follows no label";
            continue;
        }
        const auto label = labels.find(row.follows);
        ASSERT_NE(label, labels.end()) << row.name << " follows no earlier label c" << row.follows;
        EXPECT_EQ(label->second->page, row.page) << row.name;
        EXPECT_GT(row.left, label->second->left) << row.name;
        const auto [column, first] = columnOfLabel.emplace(row.follows, row.column);
        EXPECT_EQ(column->second, row.column) << row.name << " leaves its row's column";
    }
}

TEST(EditorTable, EveryFocusableControlIsInOneTabChainOfItsPage)
{
    std::map<std::string_view, const EditorControl*> byName;
    for (const EditorControl& row : rows())
        byName[row.name] = &row;
    std::map<std::string_view, int> chained;
    for (const auto& chain : editorTabChains()) {
        ASSERT_FALSE(chain.empty());
        const auto first = byName.find(chain.front());
        ASSERT_NE(first, byName.end()) << chain.front();
        for (std::string_view name : chain) {
            const auto row = byName.find(name);
            ASSERT_NE(row, byName.end()) << name << " is no control";
            EXPECT_TRUE(takesFocus(row->second->kind)) << name;
            EXPECT_EQ(row->second->page, first->second->page) << name << " is chained across pages";
            ++chained[name];
        }
    }
    for (const EditorControl& row : rows()) {
        if (takesFocus(row.kind)) {
            EXPECT_EQ(chained[row.name], 1) << row.name;
        }
    }
}

} // namespace
} // namespace arcavio
