#include "views/popup_menu_host.h"

#include <QWidget>

IPopupMenuHost* IPopupMenuHost::Of(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<IPopupMenuHost*>(w)) return host;
    return nullptr;
}
