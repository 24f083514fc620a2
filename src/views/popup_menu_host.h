#pragma once

class QPoint;
class QWidget;

// The window that owns the pop-up menus of the panes, so that their commands are
// routed like those of the main window's menus.
class IPopupMenuHost {
public:
    virtual ~IPopupMenuHost() = default;
    virtual void PopupMenu(int menuId, const QPoint& globalPos) = 0;

    // The nearest ancestor of widget that hosts pop-up menus, or null.
    static IPopupMenuHost* Of(QWidget* widget);
};
