#include <gtest/gtest.h>

#include "app/helpmessages.h"

using namespace arcavio;

TEST(HelpMessages, BilingualTextsAreBuiltInTheirOrder)
{
    EXPECT_EQ(technicalHelpText(), "Technical Help? Please contact me at: arcavio@example.org/ "
                                   "Suporte t\xC3\xA9"
                                   "cnico? Contate-me em: arcavio@example.org");
    EXPECT_EQ(suggestionText(), "Suggestions? Please contact me at: arcavio@example.org/ "
                                "Sugest\xC3\xB5"
                                "es? Contate-me em: arcavio@example.org");
    EXPECT_EQ(aboutEmulatorText().rfind("M.A.M.E.  -  Multiple Arcade Machine Emulator - ", 0), 0u);
    EXPECT_NE(aboutEmulatorText().find("1997-2001"), std::string::npos);
    EXPECT_EQ(builtinSkinAboutText(),
              "Default Skin File, incorpored in exe file, by the Arcavio developers / "
              "Skin File Padr\xC3\xA3o, incorporado no arquivo exe, por the Arcavio developers");
}

TEST(HelpMessages, LanguageFileTextComesFromLine151WhenLoaded)
{
    EXPECT_EQ(aboutLanguageText(Language()),
              "This is a Language FILE incorpored to the exe file. In English. By the Arcavio developers");
    LineList lines;
    for (int i = 0; i < 152; ++i)
        lines.append("line " + std::to_string(i));
    EXPECT_EQ(aboutLanguageText(Language(lines)), "line 151");
    EXPECT_THROW(aboutLanguageText(Language(LineList{"only"})), std::exception);
}

TEST(Language, BuiltinTextsKeepTheirExactSpelling)
{
    EXPECT_EQ(builtinText(58), "Tripple Buffer");
    EXPECT_EQ(builtinText(86), "No Rotate ");
    EXPECT_EQ(builtinText(114), "Choose the directory form the List above:");
    EXPECT_EQ(builtinText(140), "Directory \"");
    EXPECT_EQ(builtinText(141), "\" does not exist");
    EXPECT_EQ(builtinText(152), "This MAME EXE file doesn\xC2\xB4t exist!!");
    EXPECT_EQ(builtinText(3), "");
    EXPECT_EQ(builtinText(166), "Import Game Names\u2026");
    EXPECT_EQ(builtinText(167), "Check ROM Sets\u2026");
    EXPECT_EQ(builtinText(168), "");
    EXPECT_EQ(kBuiltinEditorExeWarning, "WARNING: MAME Exe file does not exists.");
}
