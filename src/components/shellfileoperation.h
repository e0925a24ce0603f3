#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/shellfileservice.h"
#include "text/linelist.h"

namespace arcavio {

enum FileOperationKind { opCopy, opRename, opDelete, opMove };

enum FileOperationOption {
    foAllowUndo,
    foConfirmMouse,
    foFilesOnly,
    foMultiDestFiles,
    foNoConfirmation,
    foNoConfirmMkDir,
    foRenameOnCollision,
    foSilent,
    foSimpleProgress,
};
using FileOperationOptions = std::set<FileOperationOption>;

unsigned shellFunction(FileOperationKind operation);
std::uint16_t shellFlags(const FileOperationOptions& options);

// The entries in order, each followed by a zero byte, then one more zero byte.
std::vector<char> zeroSeparatedList(const LineList& entries);

// Hands one copy, move, rename or delete request for a list of files to the shell, which asks
// and reports as the options allow. No widget, so no objectName: the main window's delete.
class ShellFileOperation {
  public:
    // The prompt is the owner's: it answers the shell's questions and shows its errors.
    explicit ShellFileOperation(platform::ShellPrompt& prompt,
                                platform::ShellFileService& shell = platform::systemShellFileService())
        : prompt_(&prompt), shell_(&shell)
    {
    }

    FileOperationKind Operation = opCopy;
    LineList SourceFiles;
    LineList TargetFiles;
    FileOperationOptions Options = {foMultiDestFiles};
    std::string ProgressTitle;
    std::uint32_t Handle = 0;

    // The shell's result code unchanged: 0 on success. Raises nothing for a failed or
    // declined operation.
    int Execute();

    // The record of the last request (its buffers are gone once Execute has returned).
    const platform::ShellFileRequest& request() const { return request_; }

  private:
    platform::ShellPrompt* prompt_;
    platform::ShellFileService* shell_;
    platform::ShellFileRequest request_;
};

} // namespace arcavio
