#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace arcavio {

// Lets the user pick a folder; remembers the folder last picked and opens on it next time. No
// widget, so no objectName: the editor's d114 and the select-game dialog's t160.
class FolderBrowser {
  public:
    std::string Directory;
    std::string Title;

    // Shows the folder dialog modally over the owner. True when a folder was picked; its full
    // path is then in Directory. False on cancel, with Directory unchanged.
    bool Execute(QWidget* owner);

    // What asks the user: given owner, title and starting folder, the picked folder or nothing.
    // Tests replace it; the default is a Qt folder dialog.
    using Chooser = std::function<std::optional<std::string>(QWidget* owner, const std::string& title,
                                                             const std::string& start)>;
    static Chooser setChooser(Chooser chooser);
};

} // namespace arcavio
