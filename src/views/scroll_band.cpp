#include "views/scroll_band.h"

#include <algorithm>

int BandTopRow(int row, int top, int visible, int count)
{
    visible = std::max(1, visible);
    const int below = visible / 4;
    const int lastTop = std::max(0, count - visible);
    if (row >= top && row <= top + visible - 1 - below) return top;
    return std::clamp(row - visible / 2, 0, lastTop);
}
