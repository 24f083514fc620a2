#include "simulator/register_text.h"

#include <cstdio>
#include "machine/hex.h"
#include "machine/register.h"
#include "simulator/value_entry.h"

namespace {
std::string Printf(const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// FR shows only its three flags: letters V, S, Z (or "-") and the bits 2, 1, 0.
std::string FlagCell(WORD fr, int column)
{
    std::string text;
    const char letters[] = {'V', 'S', 'Z'};
    for (int bit = 2; bit >= 0; --bit) {
        const bool on = (fr >> bit) & 1;
        if (column == REG_COLUMN_HEX)
            text += on ? letters[2 - bit] : '-';
        else
            text += on ? '1' : '0';
    }
    return text;
}
}  // namespace

std::string FormatRegisterCell(const CRegister& reg, int index, int column)
{
    const WORD value = reg[index];
    if (index == REG_FR)
        return column == REG_COLUMN_HEX || column == REG_COLUMN_BINARY ? FlagCell(value, column) : std::string();
    if (column == REG_COLUMN_HEX) return Hex4(value);
    // SP and PR are addresses: only their hexadecimal value is shown.
    if (index > REG_GR7) return std::string();
    switch (column) {
    case REG_COLUMN_SIGNED: return Printf("%d", AsSigned(value));
    case REG_COLUMN_UNSIGNED: return Printf("%u", value);
    case REG_COLUMN_BINARY: return FormatBinaryWord(value);
    case REG_COLUMN_CHR: return std::string{'\'', IsPrintableWord(value) ? static_cast<char>(value) : '.', '\''};
    default: return std::string();
    }
}
