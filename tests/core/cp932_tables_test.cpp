// The code page 932 tables are generated data, the same in every build; they must be the
// code page as the system's converter knows it, in both directions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>
#include "text/cp932_tables.h"
#include "text/generate/cp932_from_iconv.h"

namespace {
// Empty when equal, else the first few indices that differ with both values.
template <typename T>
std::string Differences(const std::vector<T>& ours, const std::vector<T>& reference)
{
    std::string text;
    int shown = 0;
    for (size_t i = 0; i < ours.size() && shown < 8; ++i)
        if (ours[i] != reference[i]) {
            char line[64];
            std::snprintf(line, sizeof line, "[%04zX] %04X, iconv %04X; ", i, static_cast<unsigned>(ours[i]),
                          static_cast<unsigned>(reference[i]));
            text += line;
            ++shown;
        }
    return text;
}

TEST(Cp932Tables, TheGeneratedTablesAreWhatTheSystemsConverterGives)
{
    const auto reference = Cp932FromIconv::Build();
    ASSERT_TRUE(reference) << "this system's iconv has no CP932";
    const CCp932Tables& tables = Cp932Tables();
    EXPECT_EQ(Differences(tables.single, reference->single), "");
    EXPECT_EQ(Differences(tables.dual, reference->dual), "");
    EXPECT_EQ(Differences(tables.encode, reference->encode), "");
}
}  // namespace
