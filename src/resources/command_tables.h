#pragma once
#include <span>
#include <string_view>

// The menus, toolbar and accelerator tables of the desktop program, as data.

struct CMenuItem {
    // SubPopup opens a submenu inside the current popup, SubEnd closes it.
    enum Kind { Command, Separator, RecentFiles, Popup, End, SubPopup, SubEnd };
    Kind kind;
    int id;                 // Command: the command id
    std::string_view text;  // Command and Popup: the item text ("\t" then the key text)
};

// Menu 128 (no document), 129 (simulator window), 130 (source window) and the
// context menus 104 (editor), 131 (listing) and 103 (watches): popups, each
// followed by its items, closed by End.
std::span<const CMenuItem> GetMenu(int menuId);

// Toolbar 128: command ids in order, 0 for a separator.
std::span<const int> GetToolbar();

struct CAccelerator {
    std::string_view keys;  // in the form "Ctrl+N", "Shift+F6", "Alt+Backspace"
    int id;
};
// Accelerator table 128, 129 or 130.
std::span<const CAccelerator> GetAccelerators(int tableId);
