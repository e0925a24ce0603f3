#include "text/nameorder.h"

#include <algorithm>
#include <cstdint>

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/stringoptions.h>
#include <unicode/stringpiece.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "text/encoding.h"

namespace arcavio {
namespace {

bool isAscii(std::string_view name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// For names that fold alike: the decoded text, then the bytes, so the order is total.
bool lessExactly(std::string_view a, std::string_view b)
{
    if (!isAscii(a) || !isAscii(b)) {
        const std::string x = decodeFileName(a), y = decodeFileName(b);
        if (x != y)
            return x < y;
    }
    return a < b;
}

bool lessByKey(const std::string& keyA, std::string_view a, const std::string& keyB, std::string_view b)
{
    if (keyA != keyB)
        return keyA < keyB;
    return lessExactly(a, b);
}

} // namespace

std::string caseFoldedName(std::string_view name)
{
    if (isAscii(name)) {
        // Full case folding of ASCII is its lower case; most names take this way.
        std::string folded(name);
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return folded;
    }
    const std::string text = decodeFileName(name);
    if (text.size() > INT32_MAX)
        return text;
    std::string folded;
    folded.reserve(text.size() + 4);
    icu::StringByteSink<std::string> sink(&folded);
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8Fold(U_FOLD_CASE_DEFAULT,
                           icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())), sink,
                           nullptr, status);
    return U_SUCCESS(status) ? folded : text;
}

std::string findingFoldedName(std::string_view name)
{
    if (isAscii(name))
        return caseFoldedName(name);
    const std::string text = decodeFileName(name);
    if (text.size() > INT32_MAX)
        return text;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* decompose = icu::Normalizer2::getNFKDInstance(status);
    if (U_FAILURE(status))
        return caseFoldedName(name);
    // Folding first turns letters such as U+2168 (Roman numeral nine) into ones that decompose to
    // lower case; a few decompose to capitals all the same (U+2121 to "TEL"), hence the last fold.
    icu::UnicodeString folded =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
    folded.foldCase(U_FOLD_CASE_DEFAULT);
    const icu::UnicodeString decomposed = decompose->normalize(folded, status);
    if (U_FAILURE(status))
        return caseFoldedName(name);
    icu::UnicodeString bare;
    for (std::int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK)
            bare.append(c);
        i += U16_LENGTH(c);
    }
    bare.foldCase(U_FOLD_CASE_DEFAULT);
    std::string result;
    bare.toUTF8String(result);
    return result;
}

bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    return lessByKey(caseFoldedName(a), a, caseFoldedName(b), b);
}

void sortIgnoringCase(std::vector<std::string>& names)
{
    struct Entry {
        std::string key;
        std::size_t index;
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back({caseFoldedName(names[i]), i});
    std::sort(entries.begin(), entries.end(), [&names](const Entry& a, const Entry& b) {
        return lessByKey(a.key, names[a.index], b.key, names[b.index]);
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (Entry& entry : entries)
        sorted.push_back(std::move(names[entry.index]));
    names = std::move(sorted);
}

} // namespace arcavio
