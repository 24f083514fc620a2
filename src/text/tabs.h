#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The line with every tab replaced by spaces up to the next multiple of 8 columns,
// counted in bytes. Stops once limit bytes are made (the rest would not be shown).
std::string ExpandTabs(std::string_view line, size_t limit = std::string::npos);
