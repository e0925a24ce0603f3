#include "app/helpmessages.h"

namespace arcavio {
namespace {

std::string bilingual(std::string_view english, std::string_view portuguese)
{
    const std::string address(kContactAddress);
    return std::string(english) + " " + address + "/ " + std::string(portuguese) + " " + address;
}

} // namespace

std::string technicalHelpText()
{
    return bilingual("Technical Help? Please contact me at:", "Suporte t\xC3\xA9"
                                                              "cnico? Contate-me em:");
}

std::string suggestionText()
{
    return bilingual("Suggestions? Please contact me at:", "Sugest\xC3\xB5"
                                                           "es? Contate-me em:");
}

std::string aboutEmulatorText()
{
    return "M.A.M.E.  -  Multiple Arcade Machine Emulator - Copyright (C) 1997-2001 by the MAME Team";
}

std::string aboutLanguageText(const Language& lang)
{
    return lang.text(151);
}

std::string builtinSkinAboutText()
{
    const std::string author(kBuiltinAuthor);
    return "Default Skin File, incorpored in exe file, by " + author +
           " / Skin File Padr\xC3\xA3o, incorporado no arquivo exe, por " + author;
}

} // namespace arcavio
