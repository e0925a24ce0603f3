#include "editor/editorlines.h"

namespace arcavio {

void loadControls(const LineList& lines, ConfigurationControls& controls)
{
    for (const ConfigurationLine& entry : kConfigurationLines) {
        const std::string& value = lines.at(entry.line);
        switch (entry.form) {
        case ValueForm::Text:
        case ValueForm::NumberText:
        case ValueForm::Directory:
            controls.setText(entry.control, value);
            break;
        case ValueForm::Picture:
            controls.setPicture(value);
            break;
        case ValueForm::Flag:
            controls.setFlag(entry.control, flagOn(value));
            break;
        case ValueForm::Integer:
            controls.setInteger(entry.control, integerValue(value));
            break;
        }
    }
}

LineList linesFromControls(const ConfigurationControls& controls)
{
    LineList lines;
    for (const ConfigurationLine& entry : kConfigurationLines) {
        switch (entry.form) {
        case ValueForm::Text:
        case ValueForm::NumberText:
        case ValueForm::Directory:
            lines.append(controls.text(entry.control));
            break;
        case ValueForm::Picture:
            lines.append(controls.picture());
            break;
        case ValueForm::Flag:
            lines.append(flagText(controls.flag(entry.control)));
            break;
        case ValueForm::Integer:
            lines.append(integerText(controls.integer(entry.control)));
            break;
        }
    }
    return lines;
}

} // namespace arcavio
