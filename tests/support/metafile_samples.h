#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Minimal metafiles written byte by byte: a header, a solid brush, one filled rectangle and
// the end record.
namespace arcavio::test {

inline void putU16(std::string& bytes, std::uint16_t value)
{
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

inline void putU32(std::string& bytes, std::uint32_t value)
{
    putU16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(bytes, static_cast<std::uint16_t>(value >> 16));
}

inline void putI32(std::string& bytes, std::int32_t value)
{
    putU32(bytes, static_cast<std::uint32_t>(value));
}

inline void putU32s(std::string& bytes, std::initializer_list<std::uint32_t> values)
{
    for (std::uint32_t v : values)
        putU32(bytes, v);
}

// An enhanced metafile 100 x 50 device units (frame 0..2645 x 0..1322 hundredths of a mm at
// 96 dpi) with a rectangle over all of it filled with the colour 0x00BBGGRR.
inline std::string enhancedMetafileSample(std::uint32_t colorRef = 0x000000FF)
{
    std::string records;
    putU32s(records, {39, 24, 1, 0 /* BS_SOLID */, colorRef, 0}); // EMR_CREATEBRUSHINDIRECT
    putU32s(records, {37, 12, 1});                                // EMR_SELECTOBJECT
    putU32s(records, {43, 24});                                   // EMR_RECTANGLE
    for (std::int32_t v : {0, 0, 99, 49})
        putI32(records, v);
    putU32s(records, {14, 20, 0, 16, 20}); // EMR_EOF

    std::string header;
    putU32s(header, {1, 88});
    for (std::int32_t v : {0, 0, 99, 49}) // bounds, device units
        putI32(header, v);
    for (std::int32_t v : {0, 0, 2645, 1322}) // frame, 0.01 mm
        putI32(header, v);
    putU32(header, 0x464D4520); // " EMF"
    putU32(header, 0x10000);
    putU32(header, static_cast<std::uint32_t>(88 + records.size()));
    putU32(header, 5); // records, the header included
    putU16(header, 2); // handles, slot 0 included
    putU16(header, 0);
    putU32s(header, {0, 0, 0});   // description, palette
    putU32s(header, {1024, 768}); // reference device, pixels
    putU32s(header, {270, 203});  // reference device, millimetres (about 96 dpi)
    return header + records;
}

// A placeable Windows metafile of 100 x 50 logical units at 96 units an inch, likewise filled.
inline std::string metafileSample(std::uint32_t colorRef = 0x000000FF)
{
    std::string records;
    auto record = [&records](std::uint16_t function, std::initializer_list<std::uint16_t> params) {
        putU32(records, static_cast<std::uint32_t>(3 + params.size()));
        putU16(records, function);
        for (std::uint16_t p : params)
            putU16(records, p);
    };
    record(0x020B, {0, 0});    // SETWINDOWORG y, x
    record(0x020C, {50, 100}); // SETWINDOWEXT y, x
    record(0x02FC, {0 /* BS_SOLID */, static_cast<std::uint16_t>(colorRef & 0xFFFF),
                    static_cast<std::uint16_t>(colorRef >> 16), 0}); // CREATEBRUSHINDIRECT
    record(0x012D, {0});                                             // SELECTOBJECT
    record(0x041B, {50, 100, 0, 0});                                 // RECTANGLE bottom, right, top, left
    record(0x0000, {});                                              // EOF

    std::string placeable;
    putU32(placeable, 0x9AC6CDD7);
    putU16(placeable, 0);
    for (std::uint16_t v : {0, 0, 100, 50})
        putU16(placeable, v);
    putU16(placeable, 96);
    putU32(placeable, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < placeable.size(); i += 2)
        checksum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(placeable[i]) |
                                               static_cast<unsigned char>(placeable[i + 1]) << 8);
    putU16(placeable, checksum);

    std::string header;
    putU16(header, 1); // in memory
    putU16(header, 9); // header words
    putU16(header, 0x0300);
    putU32(header, static_cast<std::uint32_t>((18 + records.size()) / 2));
    putU16(header, 1); // objects
    putU32(header, 7); // largest record, words
    putU16(header, 0);
    return placeable + header + records;
}

} // namespace arcavio::test

namespace arcavio::test {

// The enhanced sample whose end record has a type no reader knows: the converter library
// reads on past the end of the file.
inline std::string enhancedMetafileReadingPastItsEnd()
{
    std::string bytes = enhancedMetafileSample(0x000000FF);
    std::string type;
    putU32(type, 0x00FE000E);
    bytes.replace(bytes.size() - 20, 4, type);
    return bytes;
}

// The 18-byte header of a Windows metafile whose largest record claims 2.4 GB, and the
// start of a record: the library reserves what the header claims before it fails.
inline std::string metafileClaimingGigabytes()
{
    std::string bytes;
    putU16(bytes, 1);
    putU16(bytes, 9);
    putU16(bytes, 0x0300);
    putU32(bytes, 12);
    putU16(bytes, 1);
    putU32(bytes, 0x48000000); // largest record, words
    putU16(bytes, 0);
    putU32(bytes, 3);
    bytes += '\0';
    return bytes;
}

} // namespace arcavio::test
