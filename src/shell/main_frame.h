#pragma once
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include "views/popup_menu_host.h"

class CChildFrame;
class CSourceView;
class CZelkoraApp;
class CZelkoraStatusBar;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The main window: menu bar, toolbar, status bar and the area that holds the source
// and simulator windows. Routes every command id along active view -> frame ->
// document -> application, and refreshes the enable and check states while idle.
class CMainFrame : public QMainWindow, public IPopupMenuHost {
    Q_OBJECT
public:
    explicit CMainFrame(CZelkoraApp& app);
    ~CMainFrame() override;

    static CMainFrame* Of(QWidget* widget);

    QAction* GetAction(int id) const { return m_actions.value(id); }
    QMdiArea* GetMdiArea() const { return m_pMdiArea; }
    CZelkoraStatusBar* GetStatusBar() const { return m_pStatusBar; }
    QToolBar* GetToolBar() const { return m_pToolBar; }
    CChildFrame* GetActiveChild() const;
    // The source editor of the active window's document (also while its simulator window is active).
    CSourceView* GetActiveEditor() const;
    void AddChild(CChildFrame* child);

    // The command route.
    void ExecuteCommand(int id);
    bool QueryCommand(int id, bool& enabled, bool& checked) const;
    void UpdateCommandUI();
    void PopupMenu(int menuId, const QPoint& globalPos) override;
    // The menu bar of the active window kind: 128 (no document), 129 (simulator), 130 (source).
    int GetMenuId() const { return m_nMenuId; }
    void RefreshMenuBar();
    void RefreshRecentFiles();
    void RefreshCaption();

    // Running state.
    void EnterRunState();
    void LeaveRunState();
    // Advances the run indicator by one step; the bar shows it at the next ShowRunIndicator.
    void StepRunIndicator() { m_nRunSteps = m_nRunSteps >= 1000 ? 0 : m_nRunSteps + 1; }
    void ShowRunIndicator();
    bool IsRunning() const { return m_bRunning; }

    // The stored placement, fitted to the screen; without one (a first start) the screen's
    // available area below the title bar.
    void RestorePlacement();
    void StorePlacement();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    QMenu* BuildMenu(int menuId, QWidget* parent, QList<QMenu*>* popups);
    QString CaretPaneText(bool& enabled) const;
    // Has the application look for changes to the document's file, once the event at hand is done.
    void QueueFileCheck();

    CZelkoraApp& m_app;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar;
    CZelkoraStatusBar* m_pStatusBar;
    QMap<int, QAction*> m_actions;
    QMap<int, QList<QMenu*>> m_menus;  // the popups of menus 128, 129 and 130
    QList<QAction*> m_recentActions;
    int m_nMenuId = 0;
    int m_nRunSteps = 0;
    bool m_bRunning = false;
    // Where the focus was when a run began; it goes back there when the run ends.
    QPointer<QMdiSubWindow> m_pActiveBeforeRun;
    QPointer<QWidget> m_pFocusBeforeRun;
};
