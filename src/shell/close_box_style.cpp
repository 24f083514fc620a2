#include "shell/close_box_style.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {
QAction* FindCloseAction(const QMdiSubWindow& window)
{
    if (!window.systemMenu()) return nullptr;
    for (QAction* action : window.systemMenu()->actions())
        if (action->shortcuts().contains(QKeySequence(QKeySequence::Close))) return action;
    return nullptr;
}
}  // namespace

CCloseBoxStyle::CCloseBoxStyle(QMdiSubWindow& window)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), m_window(window)
{
    setParent(&window);
    if (QAction* close = FindCloseAction(window)) connect(close, &QAction::changed, this, &CCloseBoxStyle::Refresh);
}

bool CCloseBoxStyle::IsCloseEnabled() const
{
    const QAction* close = FindCloseAction(m_window);
    return !close || close->isEnabled();
}

void CCloseBoxStyle::Refresh()
{
    if (QWidget* buttons = m_window.maximizedButtonsWidget()) {
        if (buttons->style() != this) buttons->setStyle(this);
        buttons->update();
    }
    m_window.update();
}

void CCloseBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const
{
    const SubControl close = control == CC_TitleBar      ? SC_TitleBarCloseButton
                             : control == CC_MdiControls ? SC_MdiCloseButton
                                                         : SC_None;
    if (close == SC_None || IsCloseEnabled()) return QProxyStyle::drawComplexControl(control, option, painter, widget);
    const QRect box = subControlRect(control, option, close, widget);
    if (const auto* bar = qstyleoption_cast<const QStyleOptionTitleBar*>(option)) {
        // The title bar without its close box (the other buttons keep their places).
        QStyleOptionTitleBar rest(*bar);
        rest.subControls &= ~close;
        rest.activeSubControls &= ~close;
        QProxyStyle::drawComplexControl(control, &rest, painter, widget);
    } else {
        // The menu bar's buttons share its width: all of them, then a plain button over the close box.
        QStyleOptionComplex rest(*option);
        rest.activeSubControls &= ~close;
        QProxyStyle::drawComplexControl(control, &rest, painter, widget);
        QStyleOptionButton button;
        button.QStyleOption::operator=(*option);
        button.rect = box;
        button.state = (option->state & ~(State_Enabled | State_Sunken | State_MouseOver)) | State_Raised;
        drawPrimitive(PE_PanelButtonCommand, &button, painter, widget);
    }
    const int side = std::min({16, box.width() - 2, box.height() - 2});
    QRect icon(0, 0, side, side);
    icon.moveCenter(box.center());
    standardIcon(SP_TitleBarCloseButton, option, widget).paint(painter, icon, Qt::AlignCenter, QIcon::Disabled);
}
