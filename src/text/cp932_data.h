#pragma once
#include <cstddef>
#include <cstdint>

// Code page 932 as data, generated once from the system's converter (cp932_data.cpp, by
// generate/generate_cp932_tables.cpp), so that every build reads the same characters:
// the WebAssembly C library has no converter for this code page.
namespace Cp932Data {

inline constexpr unsigned kTrailFirst = 0x40, kTrailLast = 0xFC;
inline constexpr unsigned kTrails = kTrailLast - kTrailFirst + 1;
inline constexpr unsigned kLeads = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

// The lead bytes 0x81-0x9F and 0xE0-0xFC in a row.
constexpr unsigned LeadIndex(unsigned lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1); }

// Where the code page writes a character with another code than the lowest one that reads
// as it (or writes a character that no code reads as, or none at all: code 0).
struct CEncodeException {
    char16_t character;
    std::uint16_t code;
};

extern const char16_t kHigh[0x80];              // bytes 0x80-0xFF (0: none, or a lead byte)
extern const char16_t kDual[kLeads * kTrails];  // [LeadIndex(lead) * kTrails + trail - kTrailFirst]
extern const CEncodeException kEncodeExceptions[];
extern const std::size_t kEncodeExceptionCount;

}  // namespace Cp932Data
