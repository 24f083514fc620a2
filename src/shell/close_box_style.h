#pragma once
#include <QProxyStyle>

class QMdiSubWindow;

// A window whose Close is disabled in its window menu shows its close box greyed, on its
// title bar and among the buttons it puts into the menu bar while it is maximized (Qt
// draws them as usable whatever the menu says). Set on that window and those buttons
// only; everything else is drawn by the application's style.
class CCloseBoxStyle : public QProxyStyle {
public:
    explicit CCloseBoxStyle(QMdiSubWindow& window);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
    // Draws the window's close boxes again, as Close is now; the menu bar's buttons are
    // taken over once the window has them.
    void Refresh();

private:
    bool IsCloseEnabled() const;

    QMdiSubWindow& m_window;
};
