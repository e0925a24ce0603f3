#pragma once

#include <cstdint>
#include <string>

// The shell's file operation: copy, move, rename or delete a list of files with the shell's
// own questions and error messages.
namespace arcavio::platform {

namespace fileop {
inline constexpr unsigned FO_MOVE = 1;
inline constexpr unsigned FO_COPY = 2;
inline constexpr unsigned FO_DELETE = 3;
inline constexpr unsigned FO_RENAME = 4;

inline constexpr std::uint16_t FOF_MULTIDESTFILES = 0x1;
inline constexpr std::uint16_t FOF_CONFIRMMOUSE = 0x2;
inline constexpr std::uint16_t FOF_SILENT = 0x4;
inline constexpr std::uint16_t FOF_RENAMEONCOLLISION = 0x8;
inline constexpr std::uint16_t FOF_NOCONFIRMATION = 0x10;
inline constexpr std::uint16_t FOF_ALLOWUNDO = 0x40;
inline constexpr std::uint16_t FOF_FILESONLY = 0x80;
inline constexpr std::uint16_t FOF_SIMPLEPROGRESS = 0x100;
inline constexpr std::uint16_t FOF_NOCONFIRMMKDIR = 0x200;

// Result codes of the POSIX shell.
inline constexpr int kFileNotFound = 2;
inline constexpr int kAccessDenied = 5;
inline constexpr int kNotSupported = 50;
inline constexpr int kCancelled = 1223;
inline constexpr int kOtherError = 0x402;
} // namespace fileop

// The request record: paths are zero-separated lists ended by an empty entry.
struct ShellFileRequest {
    std::uint32_t ownerWindow = 0;
    unsigned function = 0;
    const char* from = nullptr;
    const char* to = nullptr;
    std::uint16_t flags = 0;
    bool anyOperationsAborted = false; // written back by the shell
    void* nameMappings = nullptr;
    std::string progressTitle;
};

// What the shell asks and tells the user. The operation's owner hands it in, so that the platform
// itself asks nothing of the user.
class ShellPrompt {
  public:
    virtual ~ShellPrompt() = default;
    // A Yes/No question under a caption; true for Yes.
    virtual bool confirm(const std::string& question, const std::string& caption) = 0;
    virtual void reportError(const std::string& message) = 0;
};

class ShellFileService {
  public:
    virtual ~ShellFileService() = default;
    // 0 on success, the shell's error code otherwise; raises nothing. Questions and errors go
    // to the prompt.
    virtual int perform(ShellFileRequest& request, ShellPrompt& prompt) = 0;
};

ShellFileService& systemShellFileService();

} // namespace arcavio::platform
