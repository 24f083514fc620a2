#include "shell/child_frame.h"

#include <QApplication>
#include <QMdiArea>
#include <functional>
#include "shell/close_box_style.h"
#include "shell/layout_store.h"
#include "views/pane.h"

namespace {
// The smallest window a stored placement makes: its title bar and a little of its panes.
constexpr QSize kMinimumSize(160, 120);
}  // namespace

CChildFrame::CChildFrame(CZelkoraDoc& doc, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_pCloseBoxStyle(new CCloseBoxStyle(*this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setStyle(m_pCloseBoxStyle);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (w->parentWidget() && qobject_cast<QSplitter*>(w->parentWidget()) && isAncestorOf(w)) {
                SetActiveView(w);
                return;
            }
        }
    });
}

void CChildFrame::SetActiveView(QWidget* view) { m_pActiveView = view; }

void CChildFrame::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    // Maximized, the window's buttons go into the menu bar: its close box there too.
    if (event->type() == QEvent::WindowStateChange) m_pCloseBoxStyle->Refresh();
}

QSplitter* CChildFrame::MakeSplitter(Qt::Orientation orientation, QWidget* parent)
{
    auto* splitter = new QSplitter(orientation, parent);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

void CChildFrame::StorePlacement(const char* name)
{
    const bool maximized = isMaximized();
    // Back to the normal rectangle without showing the window again (it may be closing).
    if (maximized) setWindowState(windowState() & ~Qt::WindowMaximized);
    WriteWindowValue(name, FormatPlacement(geometry(), maximized));
}

void CChildFrame::RestorePlacement(const char* name)
{
    QRect normal;
    if (!ParsePlacement(ReadWindowValue(name), normal)) return;
    // Within the main window's area for its windows, where it can be reached and moved.
    const QMdiArea* area = mdiArea();
    QRect bounds = area ? QRect(QPoint(0, 0), area->viewport()->size()) : QRect();
    if (bounds.isEmpty()) bounds = QRect(QPoint(0, 0), ScreenBoundsFor(normal).size());
    setGeometry(FitPlacement(normal, bounds, kMinimumSize));
}

void CChildFrame::ActivateNextPane(bool forward)
{
    QList<QWidget*> panes;
    std::function<void(QSplitter*)> collect = [&](QSplitter* splitter) {
        for (int i = 0; i < splitter->count(); ++i) {
            QWidget* w = splitter->widget(i);
            if (auto* inner = qobject_cast<QSplitter*>(w))
                collect(inner);
            else
                panes << w;
        }
    };
    if (auto* top = qobject_cast<QSplitter*>(widget())) collect(top);
    if (panes.isEmpty()) return;
    const int at = panes.indexOf(m_pActiveView.data());
    const int next = at < 0 ? 0 : (at + (forward ? 1 : panes.size() - 1)) % panes.size();
    SetActiveView(panes[next]);
    panes[next]->setFocus();
}

void CChildFrame::DetachPanes()
{
    for (QWidget* w : findChildren<QWidget*>())
        if (auto* pane = dynamic_cast<CPane*>(w)) pane->Detach();
}
