#pragma once
#include <QString>
#include <string_view>

// Code page 932 text as the panes draw it: what the editor shows for the same bytes (a
// byte that is no character is its kept byte, drawn alike everywhere by the view font).
QString PaneText(std::string_view cp932);
