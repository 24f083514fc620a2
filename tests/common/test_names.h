// Names for the cases of parameterised tests. ctest lists every case by its name, so a name
// must come out the same in every build and be plain text: GoogleTest's own names print the
// parameter's bytes, pointers included, and it accepts only letters, digits and '_'.
#pragma once
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

// The letters and digits of a text, every run of other bytes one '_', none at either end.
inline std::string ReadableName(std::string_view text)
{
    std::string name;
    bool gap = false;
    for (const char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            gap = !name.empty();
            continue;
        }
        if (gap) name += '_';
        name += c;
        gap = false;
    }
    return name;
}

// "07_GR1_DATA": the case's place in its table keeps names apart that read alike ("GR1,DATA",
// "GR1, DATA") or have no letters at all ("").
inline std::string CaseName(std::size_t index, std::string_view text)
{
    // Appended piece by piece: GCC 12 takes a prefix added in front for an overlapping copy.
    std::string name = index < 10 ? "0" : "";
    name += std::to_string(index);
    const std::string readable = ReadableName(text);
    if (!readable.empty()) name += "_" + readable;
    return name;
}
