#include "views/work_views.h"

#include "resources/command_ids.h"
#include "simulator/view_classes.h"
#include "views/device_view.h"
#include "views/state_pane.h"

namespace {
QWidget* CreateDump(CZelkoraDoc& doc)
{
    return new CStatePane(doc, kDumpViewClass, RenderDump);
}

QWidget* CreateWatches(CZelkoraDoc& doc)
{
    return new CStatePane(doc, kWatchViewClass, [](const CZelkoraDoc&) { return std::string(); });
}

QWidget* CreateDevice(CZelkoraDoc& doc)
{
    return new CDeviceView(doc);
}

constexpr CWorkViewKind kKinds[] = {
    {ID_VIEW_DUMP, kDumpViewClass, CreateDump},
    {ID_VIEW_WATCH, kWatchViewClass, CreateWatches},
    {ID_VIEW_OUTPUT, kDeviceViewClass, CreateDevice},
};
}  // namespace

std::span<const CWorkViewKind> GetWorkViewKinds()
{
    return kKinds;
}

const CWorkViewKind* FindWorkViewKind(int commandId)
{
    for (const CWorkViewKind& kind : kKinds)
        if (kind.commandId == commandId) return &kind;
    return nullptr;
}

const CWorkViewKind& WorkViewForSetting(int workView)
{
    return kKinds[workView == 0 ? 0 : workView == 1 ? 1 : 2];
}
