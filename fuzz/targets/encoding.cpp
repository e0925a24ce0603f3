// Text decoding: UTF-8 kept, anything else read as Windows-1252.
#include "text/encoding.h"
#include "fuzzing.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    const std::string text = decodeText(input);
    FUZZ_CHECK(isValidUtf8(text));
    std::string_view withoutMark = input;
    if (withoutMark.starts_with("\xEF\xBB\xBF"))
        withoutMark.remove_prefix(3);
    if (isValidUtf8(withoutMark))
        FUZZ_CHECK(text == withoutMark);

    // Every byte has a character, and every such character its byte.
    const std::string widened = cp1252ToUtf8(input);
    FUZZ_CHECK(isValidUtf8(widened));
    const auto narrowed = utf8ToCp1252(widened);
    FUZZ_CHECK(narrowed && *narrowed == input);

    if (const auto bytes = utf8ToCp1252(input)) {
        FUZZ_CHECK(isValidUtf8(input));
        FUZZ_CHECK(cp1252ToUtf8(*bytes) == input);
    }
}
