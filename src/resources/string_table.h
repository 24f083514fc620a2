#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// The text of a string-table entry (UTF-8); empty for an unknown number.
std::string_view LoadString(int id);

// The entry with "%d" replaced by a number, or with "%1" replaced by a text.
std::string FormatMessage(int id, int number);
std::string FormatMessage(int id, std::string_view insert);
// The entry with "%1", "%2", ... replaced by the texts in turn.
std::string FormatMessageArgs(int id, std::initializer_list<std::string_view> inserts);

std::string ReplaceFirst(std::string_view text, std::string_view placeholder, std::string_view insert);
