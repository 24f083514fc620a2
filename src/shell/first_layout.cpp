#include "shell/first_layout.h"

#include <algorithm>

QRect FirstMainWindowRect(const QRect& available, int titleBar)
{
    return available.adjusted(0, std::clamp(titleBar, 0, available.height() / 2), 0, 0);
}

QRect FirstSourceWindowRect(const QSize& area) { return QRect(0, 0, area.width() / 3, area.height()); }

QRect FirstSimulatorWindowRect(const QSize& area, const QRect& source)
{
    const bool besideSource = source.isValid() && source.left() <= 0 && source.right() < area.width() / 2;
    const int left = besideSource ? source.right() + 1 : area.width() / 3;
    return QRect(left, 0, area.width() - left, area.height());
}

CSimulatorSplit FirstSimulatorSplit(const QSize& client, const CSimulatorMetrics& m)
{
    CSimulatorSplit split;
    const int height = std::max(0, client.height() - m.handle);
    const int listing = m.listChrome + kFirstListingRows * m.listRow;
    const int dump = m.dumpChrome + (1 + kFirstDumpRows) * m.dumpLine;  // the header row too
    const int work = listing + dump > height ? height * dump / std::max(1, listing + dump)
                                             : std::clamp(height * 30 / 100, dump, height - listing);
    split.top = height - work;

    const int width = std::max(0, client.width() - m.handle);
    split.listingWidth = width - std::min(m.registersWidth, width * 55 / 100);
    const int right = width - split.listingWidth;
    split.registersHeight = std::min(m.listChrome + kRegisterRows * m.listRow, split.top * 2 / 3);
    split.stackWidth = std::max(0, right - m.handle) / 2;
    return split;
}
