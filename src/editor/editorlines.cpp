#include "editor/editorlines.h"

namespace arcavio {

void loadControls(const LineList& lines, ConfigurationControls& controls)
{
    for (const ConfigurationLine& spec : kConfigurationLines) {
        const std::string& value = lines.at(spec.line);
        switch (spec.form) {
        case ValueForm::Text:
        case ValueForm::NumberText:
        case ValueForm::Directory:
            controls.setText(spec.control, value);
            break;
        case ValueForm::Picture:
            controls.setPicture(value);
            break;
        case ValueForm::Flag:
            controls.setFlag(spec.control, flagOn(value));
            break;
        case ValueForm::Integer:
            controls.setInteger(spec.control, integerValue(value));
            break;
        }
    }
}

LineList linesFromControls(const ConfigurationControls& controls)
{
    LineList lines;
    for (const ConfigurationLine& spec : kConfigurationLines) {
        switch (spec.form) {
        case ValueForm::Text:
        case ValueForm::NumberText:
        case ValueForm::Directory:
            lines.append(controls.text(spec.control));
            break;
        case ValueForm::Picture:
            lines.append(controls.picture());
            break;
        case ValueForm::Flag:
            lines.append(flagText(controls.flag(spec.control)));
            break;
        case ValueForm::Integer:
            lines.append(integerText(controls.integer(spec.control)));
            break;
        }
    }
    return lines;
}

} // namespace arcavio
