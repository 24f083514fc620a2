#pragma once
#include <string>
#include <string_view>
#include "grading/test_suite.h"

class CRegister;
class CMemory;
class CLabelBank;

// "GR0=5", "FR=Z", "RESULT=15", "BUF+2='A'", "#0100=#FFFF": a register or a word and
// the value it must hold, in the register dialog's value syntax (decimal, #hexadecimal,
// %binary, 'c or 'c', a label). FR takes its flags as letters (V or O, S, Z; '-' for none) or a number.
// False with a message when the text cannot be such a check.
bool ParseExpectedValue(std::string_view text, CExpectedValue& value, std::string& message);

// Whether the machine holds the value; otherwise why not (UTF-8), against the program's
// own labels (a label the program does not define fails the check).
bool CheckExpectedValue(const CExpectedValue& value, const CRegister& reg, const CMemory& mem,
                        const CLabelBank& labels, std::string& reason);
