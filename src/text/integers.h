#pragma once

#include <cstdint>
#include <string_view>

namespace arcavio {

// Signed 32-bit decimal: leading blanks, an optional sign, digits, nothing after.
// Throws ConvertError ("'%s' is not a valid integer value").
std::int32_t parseInteger(std::string_view text);

// As parseInteger, and also hexadecimal after "$" or "0x"; hexadecimal goes up to FFFFFFFF
// and wraps to a signed value, so system colour numbers such as $80000005 stay valid.
std::int32_t parseIntegerOrHex(std::string_view text);

} // namespace arcavio
