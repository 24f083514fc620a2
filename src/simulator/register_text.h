#pragma once
#include <string>

class CRegister;

// The register view's columns after the name.
enum : int { REG_COLUMN_HEX = 1, REG_COLUMN_SIGNED, REG_COLUMN_UNSIGNED, REG_COLUMN_BINARY, REG_COLUMN_CHR };

// The text of one cell of the register view: index 0-10 (GR0-GR7, SP, PR, FR),
// column 1-5 (hexadecimal, signed, unsigned, binary, character).
std::string FormatRegisterCell(const CRegister& reg, int index, int column);
