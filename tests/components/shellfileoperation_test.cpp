#include "components/shellfileoperation.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "base/messageprompt.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace arcavio {
namespace {

using namespace platform::fileop;

std::string bytes(const std::vector<char>& buffer)
{
    return std::string(buffer.begin(), buffer.end());
}

TEST(ZeroSeparatedList, EntriesEachEndedByZeroThenOneMore)
{
    const std::vector<char> three = zeroSeparatedList(LineList{"a.av2", "C:\\x\\b.av2", "c"});
    EXPECT_EQ(three.size(), 5u + 10u + 1u + 4u);
    EXPECT_EQ(bytes(three), std::string("a.av2\0C:\\x\\b.av2\0c\0\0", 20));
    EXPECT_EQ(bytes(zeroSeparatedList(LineList{})), std::string(1, '\0'));
    EXPECT_EQ(bytes(zeroSeparatedList(LineList{"a", "", "b"})), std::string("a\0\0b\0\0", 6));
    EXPECT_EQ(bytes(zeroSeparatedList(LineList::fromText("one path"))), std::string("one path\0\0", 10));
}

// The bytes of a zero-separated list up to and including its closing zero bytes.
std::string copyList(const char* list)
{
    std::string copy;
    for (std::size_t i = 0;; ++i) {
        copy += list[i];
        if (list[i] == '\0' && (i == 0 || list[i - 1] == '\0'))
            return copy;
    }
}

// Keeps what the shell was handed while the buffers were alive.
class RecordingShell final : public platform::ShellFileService {
  public:
    int perform(platform::ShellFileRequest& request, platform::ShellPrompt&) override
    {
        owner = request.ownerWindow;
        function = request.function;
        flags = request.flags;
        title = request.progressTitle;
        from = copyList(request.from);
        to = copyList(request.to);
        return result;
    }
    std::uint32_t owner = 99;
    unsigned function = 0;
    std::uint16_t flags = 0;
    std::string title, from, to;
    int result = 0;
};

TEST(ShellFileOperation, DefaultsAndTheRequestHandedToTheShell)
{
    RecordingShell shell;
    MessagePrompt prompt;
    ShellFileOperation op(prompt, shell);
    EXPECT_EQ(op.Operation, opCopy);
    EXPECT_EQ(op.Options, FileOperationOptions{foMultiDestFiles});
    EXPECT_EQ(op.Handle, 0u);
    EXPECT_TRUE(op.SourceFiles.empty() && op.TargetFiles.empty() && op.ProgressTitle.empty());

    op.SourceFiles = LineList::fromText("x.av2\r\ny.av2");
    op.TargetFiles = LineList{"z"};
    op.Operation = opDelete;
    op.Options = {foMultiDestFiles, foNoConfirmation, foSilent};
    op.ProgressTitle = "Deleting";
    shell.result = 1223;
    EXPECT_EQ(op.Execute(), 1223);
    EXPECT_EQ(shell.owner, 0u);
    EXPECT_EQ(shell.function, FO_DELETE);
    EXPECT_EQ(shell.flags, 0x15);
    EXPECT_EQ(shell.title, "Deleting");
    EXPECT_EQ(shell.from, std::string("x.av2\0y.av2\0\0", 13));
    EXPECT_EQ(shell.to, std::string("z\0\0", 3));
    EXPECT_EQ(op.request().from, nullptr);

    const std::vector<std::pair<FileOperationKind, unsigned>> functions = {
        {opCopy, 2}, {opRename, 4}, {opDelete, 3}, {opMove, 1}};
    for (const auto& [operation, code] : functions)
        EXPECT_EQ(shellFunction(operation), code);
    EXPECT_EQ(shellFlags({foAllowUndo, foConfirmMouse, foFilesOnly, foMultiDestFiles, foNoConfirmation,
                          foNoConfirmMkDir, foRenameOnCollision, foSilent, foSimpleProgress}),
              0x3df);
    EXPECT_EQ(shellFlags({}), 0);
}

// Answers the shell's question and keeps what it was asked and told.
class RecordingPrompt final : public platform::ShellPrompt {
  public:
    bool confirm(const std::string& question, const std::string& caption) override
    {
        questions.push_back(question + " | " + caption);
        return answer;
    }
    void reportError(const std::string& message) override { errors.push_back(message); }
    bool answer = false;
    std::vector<std::string> questions, errors;
};

TEST(ShellFileService, AsksAndTellsOnlyThePromptItsOwnerHandedIn)
{
    test::TempDir dir;
    test::RecordingMessages messages;
    RecordingPrompt prompt;
    ShellFileOperation op(prompt);
    op.Operation = opDelete;
    const std::string file = dir.write("old.av2", "x");
    op.SourceFiles = LineList{file};
    EXPECT_EQ(op.Execute(), kCancelled);
    EXPECT_TRUE(std::filesystem::exists(file));
    op.Options = {foMultiDestFiles, foNoConfirmation};
    op.SourceFiles = LineList{dir.file("gone.ini")};
    EXPECT_EQ(op.Execute(), kFileNotFound);
    EXPECT_EQ(prompt.questions,
              std::vector<std::string>{"Are you sure you want to delete 'old.av2'? | Confirm File Delete"});
    EXPECT_EQ(prompt.errors,
              std::vector<std::string>{"Cannot delete gone.ini: The system cannot find the file specified."});
    EXPECT_TRUE(messages.questions.empty() && messages.errors.empty());
}

class PosixDelete : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::RecordingMessages messages;
    MessagePrompt prompt;
    ShellFileOperation op{prompt};

    PosixDelete() { op.Operation = opDelete; }
};

TEST_F(PosixDelete, AsksFirstAndADeclineKeepsTheFileWithoutAnError)
{
    const std::string file = dir.write("old.av2", "x");
    op.SourceFiles = LineList::fromText(file);
    messages.answers = {false, true};
    EXPECT_NE(op.Execute(), 0);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(op.request().anyOperationsAborted);
    EXPECT_EQ(messages.questions, std::vector<std::string>{"Are you sure you want to delete 'old.av2'?"});
    EXPECT_EQ(messages.questionCaptions, std::vector<std::string>{"Confirm File Delete"});
    EXPECT_TRUE(messages.errors.empty());

    EXPECT_EQ(op.Execute(), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(PosixDelete, WithoutConfirmationAMissingFileIsTheShellsOwnErrorUnlessSilent)
{
    op.Options = {foMultiDestFiles, foNoConfirmation};
    op.SourceFiles = LineList{dir.file("gone.ini")};
    EXPECT_EQ(op.Execute(), kFileNotFound);
    EXPECT_TRUE(messages.questions.empty());
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0], "Cannot delete gone.ini: The system cannot find the file specified.");

    op.Options.insert(foSilent);
    EXPECT_EQ(op.Execute(), kFileNotFound);
    EXPECT_EQ(messages.errors.size(), 1u);
}

TEST_F(PosixDelete, RelativePathsAndSeveralEntries)
{
    dir.write("a.av2", "a");
    dir.write("b.av2", "b");
    const std::string keep = dir.write("c.av2", "c");
    test::CurrentDirectory here(dir.path());
    op.SourceFiles = LineList{"a.av2", "b.av2", "", "c.av2"};
    EXPECT_EQ(op.Execute(), 0);
    EXPECT_EQ(messages.questions, std::vector<std::string>{"Are you sure you want to delete these 2 items?"});
    EXPECT_EQ(messages.questionCaptions, std::vector<std::string>{"Confirm Multiple File Delete"});
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.av2")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.av2")));
    EXPECT_TRUE(std::filesystem::exists(keep));
}

TEST_F(PosixDelete, OtherOperationsAreRefusedNotFaked)
{
    const std::string file = dir.write("a", "a");
    op.Operation = opMove;
    op.SourceFiles = LineList{file};
    op.TargetFiles = LineList{dir.file("b")};
    EXPECT_NE(op.Execute(), 0);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(messages.errors.size(), 1u);
}

} // namespace
} // namespace arcavio
