#pragma once
#include <QRect>
#include <QSize>

// Where the windows go when no placement is stored (a first start): the program's window
// takes the screen, the source window its left third and the simulator window the rest
// beside it, so that both can be used at once; the simulator's panes get the rows a
// student needs to follow a program on the screens of a school (1280 x 900, 1366 x 768).

// The main window's rectangle without its frame, filling the available area of a screen
// below a title bar titleBar pixels high.
QRect FirstMainWindowRect(const QRect& available, int titleBar);
// The source and simulator windows side by side in the main window's area for its windows:
// the simulator right of the source window where that lies in the left half of the area (as
// the main window may have settled to a slightly different size in between), else in the
// right two thirds.
QRect FirstSourceWindowRect(const QSize& area);
QRect FirstSimulatorWindowRect(const QSize& area, const QRect& source);

// What the simulator's first pane sizes are made from, in pixels, as measured on its panes.
struct CSimulatorMetrics {
    int listRow = 18;        // a row of the list panes
    int listChrome = 22;     // a list pane's header and frame
    int registersWidth = 0;  // the register pane with every column, frame included
    int dumpLine = 14;       // a row of the dump
    int dumpChrome = 2;      // the dump's frame
    int handle = 6;          // a splitter handle
};

// The simulator window's splitter sizes, in the order they are stored: the height of the
// listing and the panes beside it above the work pane, the listing's width, the register
// pane's height above the stack and labels, the stack's width beside the labels.
struct CSimulatorSplit {
    int top = 0;
    int listingWidth = 0;
    int registersHeight = 0;
    int stackWidth = 0;
};

// Rows a student needs to see: the listing's, the register pane's (all of them), the dump's.
constexpr int kFirstListingRows = 20;
constexpr int kRegisterRows = 11;
constexpr int kFirstDumpRows = 12;

// The first sizes for a simulator window whose panes have client pixels: the register pane
// as wide and high as its columns and rows, the listing the rest of the width, the work
// pane 30 % of the height but never fewer than kFirstDumpRows rows nor so many that the
// listing keeps fewer than kFirstListingRows (when both do not fit they share by need).
CSimulatorSplit FirstSimulatorSplit(const QSize& client, const CSimulatorMetrics& m);
