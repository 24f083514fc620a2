#include "views/work_views.h"

#include "resources/command_ids.h"
#include "simulator/view_classes.h"
#include "views/device_view.h"
#include "views/dump_view.h"
#include "views/watch_view.h"

namespace {
QWidget* CreateDump(CZelkoraDoc& doc) { return new CDumpView(doc); }

QWidget* CreateWatches(CZelkoraDoc& doc) { return new CWatchView(doc); }

QWidget* CreateDevice(CZelkoraDoc& doc) { return new CDeviceView(doc); }

constexpr CWorkViewKind kKinds[] = {
    {ID_VIEW_DUMP, kDumpViewClass, CreateDump},
    {ID_VIEW_WATCH, kWatchViewClass, CreateWatches},
    {ID_VIEW_OUTPUT, kDeviceViewClass, CreateDevice},
};
}  // namespace

std::span<const CWorkViewKind> GetWorkViewKinds() { return kKinds; }

const CWorkViewKind* FindWorkViewKind(int commandId)
{
    for (const CWorkViewKind& kind : kKinds)
        if (kind.commandId == commandId) return &kind;
    return nullptr;
}

const CWorkViewKind& WorkViewForSetting(int workView) { return kKinds[workView == 0 ? 0 : workView == 1 ? 1 : 2]; }
