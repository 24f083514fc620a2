#pragma once
#include <string>
#include <string_view>
#include "machine/word.h"

class CLabelBank;

// The value-entry syntax of the dialogs, on the text exactly as typed:
//   decimal (-1, 65535), #hexadecimal (#FFFF), %binary (%1010), 'c (one byte),
//   or a label name (looked up in labels; absent labels: no label is known).
// Every number is taken modulo 65536. False when the text is not a value.
bool ParseWordValue(std::string_view text, const CLabelBank* labels, WORD& value);

// Bits 15 to 0 as "1" and "0" in four groups of four: "0001 0010 0011 0100".
std::string FormatBinaryWord(WORD value);

// Whether a word stands for a printable character (codes 20 to 7E hexadecimal).
inline bool IsPrintableWord(WORD value) { return value >= 0x20 && value <= 0x7E; }
