#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/configuration.h"
#include "text/linelist.h"

namespace arcavio {

// The editor's controls as the configuration lines see them, addressed by control name.
class ConfigurationControls {
  public:
    virtual ~ConfigurationControls() = default;

    virtual void setText(std::string_view control, const std::string& value) = 0;
    // A change of state acts as a click; the same state triggers nothing.
    virtual void setFlag(std::string_view control, bool on) = 0;
    // The field clamps the value to its bounds.
    virtual void setInteger(std::string_view control, std::int32_t value) = 0;
    // Keeps the name; loads the picture when a file exists there (which may throw).
    virtual void setPicture(const std::string& path) = 0;

    virtual std::string text(std::string_view control) const = 0;
    virtual bool flag(std::string_view control) const = 0;
    // The field's value: its integer, or its lower bound when its text holds none.
    virtual std::int32_t integer(std::string_view control) const = 0;
    virtual std::string picture() const = 0;
};

// Sets the controls from lines 0 to 68 strictly in order; the first missing line
// (ListIndexError) or malformed integer (ConvertError) stops it there.
void loadControls(const LineList& lines, ConfigurationControls& controls);

// The 69 lines the controls hold, in file order.
LineList linesFromControls(const ConfigurationControls& controls);

} // namespace arcavio
