#include "text/cp932_tables.h"

CCp932Tables Cp932TablesFromData(const char16_t* high, const char16_t* dual,
                                 const Cp932Data::CEncodeException* exceptions, size_t count)
{
    using namespace Cp932Data;
    CCp932Tables t;
    auto encodeOnce = [&t](char16_t c, std::uint16_t code) {
        if (c != 0 && t.encode[c] == 0) t.encode[c] = code;
    };
    for (unsigned b = 0; b < 0x80; ++b) {
        t.single[b] = static_cast<char16_t>(b);
        t.encode[b] = static_cast<std::uint16_t>(b);
    }
    for (unsigned b = 0x80; b < 0x100; ++b) {
        t.single[b] = high[b - 0x80];
        encodeOnce(t.single[b], static_cast<std::uint16_t>(b));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(lead)) continue;
        for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
            const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
            t.dual[code] = dual[LeadIndex(lead) * kTrails + trail - kTrailFirst];
            encodeOnce(t.dual[code], code);
        }
    }
    for (size_t i = 0; i < count; ++i) t.encode[exceptions[i].character] = exceptions[i].code;
    return t;
}

char16_t CCp932Tables::Decode(std::string_view bytes, size_t i, size_t& length) const
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    length = 1;
    if (b < 0x80) return b;
    if (IsCp932LeadByte(b)) {
        if (i + 1 >= bytes.size()) return 0;
        const char16_t c = dual[b << 8 | static_cast<unsigned char>(bytes[i + 1])];
        if (c != 0) length = 2;
        return c;
    }
    return single[b];
}

bool CCp932Tables::Exact(char16_t c) const
{
    const std::uint16_t code = encode[c];
    if (code == 0) return c == 0;
    return (code > 0xFF ? dual[code] : single[code]) == c;
}

const CCp932Tables& Cp932Tables()
{
    using namespace Cp932Data;
    static const CCp932Tables tables = Cp932TablesFromData(kHigh, kDual, kEncodeExceptions, kEncodeExceptionCount);
    return tables;
}
