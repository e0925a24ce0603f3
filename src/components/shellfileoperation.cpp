#include "components/shellfileoperation.h"

#include <array>

namespace arcavio {

using namespace platform::fileop;

unsigned shellFunction(FileOperationKind operation)
{
    static constexpr std::array<unsigned, 4> codes = {FO_COPY, FO_RENAME, FO_DELETE, FO_MOVE};
    return codes[static_cast<std::size_t>(operation)];
}

std::uint16_t shellFlags(const FileOperationOptions& options)
{
    static constexpr std::array<std::uint16_t, 9> flags = {
        FOF_ALLOWUNDO,      FOF_CONFIRMMOUSE,      FOF_FILESONLY, FOF_MULTIDESTFILES, FOF_NOCONFIRMATION,
        FOF_NOCONFIRMMKDIR, FOF_RENAMEONCOLLISION, FOF_SILENT,    FOF_SIMPLEPROGRESS};
    std::uint16_t combined = 0;
    for (const FileOperationOption option : options)
        combined = static_cast<std::uint16_t>(combined | flags[static_cast<std::size_t>(option)]);
    return combined;
}

std::vector<char> zeroSeparatedList(const LineList& entries)
{
    std::size_t size = 1;
    for (const std::string& entry : entries.lines())
        size += entry.size() + 1;
    std::vector<char> buffer;
    buffer.reserve(size);
    for (const std::string& entry : entries.lines()) {
        buffer.insert(buffer.end(), entry.begin(), entry.end());
        buffer.push_back('\0');
    }
    buffer.push_back('\0');
    return buffer;
}

int ShellFileOperation::Execute()
{
    const std::vector<char> source = zeroSeparatedList(SourceFiles);
    const std::vector<char> target = zeroSeparatedList(TargetFiles);
    request_.ownerWindow = Handle;
    request_.function = shellFunction(Operation);
    request_.from = source.data();
    request_.to = target.data();
    request_.flags = shellFlags(Options);
    request_.progressTitle = ProgressTitle;
    const int result = shell_->perform(request_, *prompt_);
    request_.from = nullptr;
    request_.to = nullptr;
    return result;
}

} // namespace arcavio
