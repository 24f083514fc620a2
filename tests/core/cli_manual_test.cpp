// The manual page of zelkora-cli keeps up with the program: the options its usage names.
#include "file_bytes.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>

namespace {
std::set<std::string> Options(const std::string& text)
{
    static const std::regex kOption("--[a-z]+(-[a-z]+)*");
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kOption); it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    return options;
}

// What zelkora-cli prints when it is started without a command.
std::string Usage()
{
    std::string text;
    if (std::FILE* pipe = ::popen((std::string("'") + ZELKORA_CLI + "' 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}
}  // namespace

TEST(CliManual, NamesTheOptionsOfTheUsageAndNoOthers)
{
    std::string manual = ReadBytes(std::filesystem::path(ZELKORA_SOURCE_DIR) / "docs" / "zelkora-cli.1");
    ASSERT_NE(manual, "");
    // roff writes a minus sign as "\-".
    for (size_t at; (at = manual.find("\\-")) != std::string::npos;) manual.erase(at, 1);
    const std::set<std::string> usage = Options(Usage());
    ASSERT_TRUE(usage.contains("--image") && usage.contains("--stats"));
    EXPECT_EQ(Options(manual), usage);
}
