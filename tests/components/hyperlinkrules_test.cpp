#include "components/hyperlinkrules.h"

#include <gtest/gtest.h>

namespace arcavio {
namespace {

TEST(LinkTarget, EachTypeHasItsPrefixDirectlyBeforeTheCaption)
{
    setSharedCustomPrefix("");
    const std::pair<TLinkType, const char*> table[] = {
        {TLinkType::ltEmail, "mailto:"},  {TLinkType::ltFile, "file://"}, {TLinkType::ltGopher, "gopher://"},
        {TLinkType::ltHttp, "http://"},   {TLinkType::ltNews, "news:"},   {TLinkType::ltWais, "wais:"},
        {TLinkType::ltTelnet, "telnet:"}, {TLinkType::ltCustom, ""}};
    for (const auto& [type, prefix] : table) {
        EXPECT_EQ(linkPrefix(type), prefix);
        EXPECT_EQ(linkTarget(type, "someone@example.org"), std::string(prefix) + "someone@example.org");
    }
    // No length limit on the target: a long caption is kept whole.
    const std::string longCaption(5000, 'a');
    EXPECT_EQ(linkTarget(TLinkType::ltHttp, longCaption), "http://" + longCaption);
}

TEST(LinkTarget, CustomPrefixIsSharedAndKeepsTwentyCharacters)
{
    EXPECT_TRUE(setSharedCustomPrefix("irc://"));
    EXPECT_EQ(linkTarget(TLinkType::ltCustom, "chat.example.org"), "irc://chat.example.org");
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
