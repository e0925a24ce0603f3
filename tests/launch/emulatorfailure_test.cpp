#include "launch/emulatorfailure.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>

#include "platform/process.h"
#include "support/temp_dir.h"
#include "text/linelist.h"

namespace arcavio {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(EmulatorFailure, WhatTheEmulatorSaysAboutABrokenZipBecomesAShortMessage)
{
    const std::string mame = "/usr/games/mame";
    if (!platform::isExecutableFile(mame))
        GTEST_SKIP() << "no emulator at " << mame;
    test::TempDir dir;
    const std::string roms = dir.mkdir("roms");
    dir.write("roms/pacman.zip", "junk\n");
    platform::ProcessRequest request{mame,
                                     " pacman -noreadconfig -rompath " + roms + " -video none -sound none",
                                     dir.mkdir("work"), 1, 64 * 1024};
    auto process = platform::systemProcesses().createProcess(request);
    ASSERT_NE(process, nullptr);
    process->wait();
    const auto code = static_cast<int>(process->exitCode());
    ASSERT_EQ(code, 2) << process->errorTail();

    const auto message = emulatorFailureMessage(Language(), "pacman", code, process->errorTail());
    ASSERT_TRUE(message);
    const auto lines = linesOf(*message);
    ASSERT_GE(lines.size(), 4u) << *message;
    EXPECT_LE(lines.size(), 3u + 8u) << *message;
    EXPECT_EQ(lines[0], "MAME could not run pacman (exit code 2: required files are missing).");
    EXPECT_TRUE(
        std::regex_match(lines[1], std::regex(R"(Missing files: pacman\.6e(, [^ ,]+){5}, … \(\d+ in all\))")))
        << lines[1];
    EXPECT_EQ(lines[2], "The last lines MAME wrote:");
    EXPECT_EQ(lines.back(), "Fatal error: Required files are missing, the machine cannot be run.");
    EXPECT_EQ(message->find("NOT FOUND"), std::string::npos) << *message;
}

TEST(EmulatorFailure, AnUnknownSystemWithATranslatedFirstLineAndOnlyTheLastLinesShown)
{
    LineList translated;
    for (int n = 0; n < 169; ++n)
        translated.append("line " + std::to_string(n));
    translated.append("%1 : MAME a échoué, code %2 (%3)");
    const Language language(translated);

    std::string output =
        "Unknown system 'nosuchset'\n\n\"nosuchset\" approximately matches the following\r\n";
    for (int n = 0; n < 10; ++n)
        output += "match" + std::to_string(n) + "   Some machine\n";
    output += "Caf\xE9 \x1B[0m" + std::string(300, 'z') + "\n\n   \n";

    const auto message = emulatorFailureMessage(language, "%2nosuch\nset", 5, output);
    ASSERT_TRUE(message);
    std::vector<std::string> expected = {"%2nosuch\xE2\x90\x8Aset : MAME a \xC3\xA9"
                                         "chou\xC3\xA9, code 5 "
                                         "(the requested system does not exist)",
                                         "The last lines MAME wrote:"};
    for (int n = 3; n < 10; ++n)
        expected.push_back("match" + std::to_string(n) + "   Some machine");
    expected.push_back("Caf\xC3\xA9 \xE2\x90\x9B[0m" + std::string(200 - 9, 'z') + "\xE2\x80\xA6");
    EXPECT_EQ(linesOf(*message), expected);

    EXPECT_FALSE(emulatorFailureMessage(language, "pacman", 0, output));
    EXPECT_FALSE(emulatorFailureMessage(language, "pacman", 3, " \n\r\n"));
    EXPECT_EQ(emulatorFailureMessage(Language(), "pacman", 139, "Segmentation fault\n"),
              "MAME could not run pacman (exit code 139: a code MAME does not document).\n"
              "The last lines MAME wrote:\nSegmentation fault");
}

} // namespace
} // namespace arcavio
