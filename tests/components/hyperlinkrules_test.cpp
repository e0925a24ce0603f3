#include "components/hyperlinkrules.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

TEST(LinkTarget, EachTypeHasItsPrefixDirectlyBeforeTheCaption)
{
    setSharedCustomPrefix("");
    const std::pair<HyperlinkType, const char*> table[] = {
        {HyperlinkType::ltEmail, "mailto:"},    {HyperlinkType::ltFile, "file://"},
        {HyperlinkType::ltGopher, "gopher://"}, {HyperlinkType::ltHttp, "http://"},
        {HyperlinkType::ltNews, "news:"},       {HyperlinkType::ltWais, "wais:"},
        {HyperlinkType::ltTelnet, "telnet:"},   {HyperlinkType::ltCustom, ""}};
    for (const auto& [type, prefix] : table) {
        EXPECT_EQ(linkPrefix(type), prefix);
        EXPECT_EQ(linkTarget(type, "someone@example.org"), std::string(prefix) + "someone@example.org");
    }
    // No length limit on the target: a long caption is kept whole.
    const std::string longCaption(5000, 'a');
    EXPECT_EQ(linkTarget(HyperlinkType::ltHttp, longCaption), "http://" + longCaption);
}

TEST(LinkTarget, CustomPrefixIsSharedAndKeepsTwentyCharacters)
{
    EXPECT_TRUE(setSharedCustomPrefix("irc://"));
    EXPECT_EQ(linkTarget(HyperlinkType::ltCustom, "chat.example.org"), "irc://chat.example.org");
    EXPECT_FALSE(setSharedCustomPrefix("irc://"));

    EXPECT_TRUE(setSharedCustomPrefix("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(sharedCustomPrefix(), "abcdefghijklmnopqrst");
    // Twenty characters, not bytes, and never half a character.
    EXPECT_TRUE(setSharedCustomPrefix("çççççççççççççççççççççç:"));
    EXPECT_EQ(sharedCustomPrefix(), "çççççççççççççççççççç");
    setSharedCustomPrefix("");
}

} // namespace
} // namespace arcavio
