#include "editor/editorcommands.h"

#include <memory>

#include "base/qthelpers.h"
#include "config/configuration.h"
#include "platform/filesystem.h"

namespace arcavio {
namespace {

void showEditor(const EditorContext& context, ConfigurationEditor& editor)
{
    if (context.language.loaded())
        editor.setWindowTitle(shownLine(context.language.line(110)));
    editor.exec();
    if (context.refreshList)
        context.refreshList();
}

} // namespace

void newConfiguration(const EditorContext& context)
{
    auto editor = std::make_unique<ConfigurationEditor>(context);
    showEditor(context, *editor);
}

void editConfiguration(const EditorContext& context, const std::string& selectedPath, LineList& editLines)
{
    if (!platform::fileExists(selectedPath))
        return;
    auto editor = std::make_unique<ConfigurationEditor>(context);
    editLines = readConfiguration(selectedPath);
    editor->ConfigFileName = selectedPath;
    editor->loadConfiguration(editLines);
    showEditor(context, *editor);
}

} // namespace arcavio
