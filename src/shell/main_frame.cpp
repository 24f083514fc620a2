#include "shell/main_frame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QWindow>
#include "resources/command_ids.h"
#include "resources/command_tables.h"
#include "resources/string_table.h"
#include "shell/child_frame.h"
#include "shell/first_layout.h"
#include "shell/layout_store.h"
#include "shell/shell_ui.h"
#include "shell/source_file.h"
#include "shell/source_frame.h"
#include "shell/source_view.h"
#include "shell/status_bar.h"
#include "shell/zelkora_app.h"
#include "simulator/zelkora_doc.h"

namespace {
// The smallest main window a stored placement makes: the menus, the toolbar and a little of a window.
constexpr QSize kMinimumSize(320, 240);

// The prompt of a command: status-bar text, line feed, tooltip.
void SplitPrompt(int id, QString& status, QString& tooltip)
{
    const QString prompt = QString::fromUtf8(LoadString(id).data());
    const int lf = prompt.indexOf('\n');
    status = lf < 0 ? prompt : prompt.left(lf);
    tooltip = lf < 0 ? QString() : prompt.mid(lf + 1);
}

// A recent file's menu item: its number as the access key, then the path, shortened in
// the middle when long (a stored path may be any length) and with its own & shown as such.
QString RecentFileText(int index, QString path)
{
    constexpr int kLongest = 80, kHead = 24;
    if (path.size() > kLongest) path = path.left(kHead) + "..." + path.right(kLongest - kHead - 3);
    return QString("&%1 %2").arg(index + 1).arg(path.replace('&', "&&"));
}

QString PlainMenuText(std::string_view text)
{
    QString plain = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    const int tab = plain.indexOf('\t');
    if (tab >= 0) plain.truncate(tab);
    return plain.remove('&');
}
}  // namespace

CMainFrame::CMainFrame(CZelkoraApp& app) : m_app(app), m_pMdiArea(new QMdiArea(this))
{
    setWindowTitle(AppTitle());
    setWindowIcon(QIcon(":/icons/app.svg"));
    setCentralWidget(m_pMdiArea);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    CreateActions();

    m_pToolBar = addToolBar("Toolbar");
    m_pToolBar->setObjectName("toolbar128");
    m_pToolBar->setMovable(false);
    m_pToolBar->setIconSize(QSize(16, 16));
    for (int id : GetToolbar()) {
        if (id == 0)
            m_pToolBar->addSeparator();
        else
            m_pToolBar->addAction(m_actions.value(id));
    }
    m_pStatusBar = new CZelkoraStatusBar(this);
    setStatusBar(m_pStatusBar);

    for (int menuId : {128, 129, 130}) BuildMenu(menuId, this, &m_menus[menuId]);
    RefreshMenuBar();
    setAcceptDrops(true);

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<CChildFrame*>(window)) child->setWindowTitle(child->GetCaption());
        if (qobject_cast<CSourceFrame*>(window)) QueueFileCheck();
        RefreshMenuBar();
        RefreshCaption();
    });
    // Enable and check states follow the state whenever the event loop goes idle.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &CMainFrame::UpdateCommandUI);
}

CMainFrame::~CMainFrame() = default;

CMainFrame* CMainFrame::Of(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* frame = qobject_cast<CMainFrame*>(w)) return frame;
    return nullptr;
}

void CMainFrame::CreateActions()
{
    // One action per command id, with the menu text of its first menu item.
    auto add = [this](int id, const QString& text) {
        if (m_actions.contains(id)) return;
        auto* action = new QAction(text, this);
        QString status, tooltip;
        SplitPrompt(id, status, tooltip);
        action->setStatusTip(status);
        action->setToolTip(tooltip.isEmpty() ? PlainMenuText(text.toStdString()) : tooltip);
        const QString icon = QString(":/icons/cmd_%1.svg").arg(id);
        if (QFileInfo::exists(icon)) action->setIcon(QIcon(icon));
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        m_actions.insert(id, action);
        addAction(action);
    };
    for (int menuId : {128, 130, 129, 104})
        for (const CMenuItem& item : GetMenu(menuId))
            if (item.kind == CMenuItem::Command)
                add(item.id, QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())));
    for (int id : {ID_NEXT_PANE, ID_PREV_PANE, ID_MANUAL, ID_SUPPORT}) add(id, QString());
    for (int i = 0; i < kRecentFileCount; ++i) {
        add(ID_FILE_MRU_FIRST + i, QString());
        m_recentActions.push_back(m_actions.value(ID_FILE_MRU_FIRST + i));
    }

    // Accelerators: the union of the three tables; commands that do not apply to the
    // active window are disabled, so their keys do nothing there.
    QMap<int, QList<QKeySequence>> keys;
    for (int table : {128, 129, 130})
        for (const CAccelerator& a : GetAccelerators(table)) {
            const QKeySequence seq(QString::fromUtf8(a.keys.data(), static_cast<int>(a.keys.size())));
            if (!keys[a.id].contains(seq)) keys[a.id].push_back(seq);
        }
    for (auto it = keys.begin(); it != keys.end(); ++it)
        if (QAction* action = m_actions.value(it.key())) {
            action->setShortcuts(it.value());
            action->setShortcutContext(Qt::WindowShortcut);
        }
}

QMenu* CMainFrame::BuildMenu(int menuId, QWidget* parent, QList<QMenu*>* popups)
{
    QMenu* current = nullptr;
    QMenu* first = nullptr;
    QMenu* outer = nullptr;  // the popup that holds the open submenu
    for (const CMenuItem& item : GetMenu(menuId)) {
        // Items before any popup belong to an untitled one.
        if (!current && item.kind != CMenuItem::Popup && item.kind != CMenuItem::End) {
            current = first = new QMenu(parent);
            if (popups) popups->push_back(current);
        }
        switch (item.kind) {
        case CMenuItem::Popup:
            current = new QMenu(QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())), parent);
            if (!first) first = current;
            if (popups) popups->push_back(current);
            break;
        case CMenuItem::Command: current->addAction(m_actions.value(item.id)); break;
        case CMenuItem::Separator: current->addSeparator(); break;
        case CMenuItem::RecentFiles:
            for (QAction* action : m_recentActions) current->addAction(action);
            break;
        case CMenuItem::SubPopup:
            outer = current;
            current = current->addMenu(QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())));
            break;
        case CMenuItem::SubEnd: current = outer; break;
        case CMenuItem::End: break;
        }
    }
    return first;
}

void CMainFrame::PopupMenu(int menuId, const QPoint& globalPos)
{
    UpdateCommandUI();
    QMenu* menu = BuildMenu(menuId, this, nullptr);
    if (!menu) return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

CChildFrame* CMainFrame::GetActiveChild() const
{
    if (auto* child = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow())) return child;
    // While a modal dialog or another window has the focus, the area reports no active
    // window; the current one is still the one the commands are for.
    return qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
}

void CMainFrame::AddChild(CChildFrame* child) { m_pMdiArea->addSubWindow(child); }

void CMainFrame::RefreshMenuBar()
{
    int menuId = 128;
    if (CChildFrame* child = GetActiveChild()) menuId = child->GetDocumentTitle() == "Simulator" ? 129 : 130;
    if (menuId == m_nMenuId) return;
    m_nMenuId = menuId;
    menuBar()->clear();
    for (QMenu* menu : m_menus.value(menuId)) menuBar()->addMenu(menu);
}

void CMainFrame::RefreshRecentFiles()
{
    const QStringList files = m_app.GetRecentFiles();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        const bool used = i < files.size();
        action->setVisible(used || i == 0);
        action->setText(used ? RecentFileText(i, files[i]) : QString::fromUtf8("最近使ったﾌｧｲﾙ"));
    }
}

void CMainFrame::RefreshCaption()
{
    CChildFrame* child = GetActiveChild();
    setWindowTitle(child ? AppTitle() + " - " + child->GetDocumentTitle() : AppTitle());
}

void CMainFrame::ExecuteCommand(int id)
{
    bool enabled, checked;
    // A command whose action was disabled after the key or click was queued does nothing.
    if (!QueryCommand(id, enabled, checked) || !enabled) return;
    CChildFrame* child = GetActiveChild();
    if (child)
        if (auto* target = dynamic_cast<CCommandTarget*>(child->GetActiveView()))
            if (target->OnCommand(id)) return;
    if (child && child->OnCommand(id)) return;
    if (m_app.GetDocumentTarget().OnCommand(id)) return;
    m_app.OnCommand(id);
}

bool CMainFrame::QueryCommand(int id, bool& enabled, bool& checked) const
{
    CCmdUI ui(id);
    bool handled = false;
    if (m_bRunning && id >= ID_COMMAND_FIRST && id <= ID_COMMAND_LAST) {
        ui.Enable(id == ID_STOP);
        handled = true;
    } else {
        CChildFrame* child = GetActiveChild();
        auto* view = child ? dynamic_cast<CCommandTarget*>(child->GetActiveView()) : nullptr;
        handled = (view && view->OnUpdateCommand(ui)) || (child && child->OnUpdateCommand(ui)) ||
                  m_app.GetDocumentTarget().OnUpdateCommand(ui) || m_app.OnUpdateCommand(ui);
    }
    enabled = handled && ui.enabled;
    checked = handled && ui.checked;
    return handled;
}

void CMainFrame::UpdateCommandUI()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        bool enabled, checked;
        QueryCommand(it.key(), enabled, checked);
        QAction* action = it.value();
        if (action->isEnabled() != enabled) action->setEnabled(enabled);
        if (action->isCheckable() != checked) action->setCheckable(checked);
        if (action->isChecked() != checked) action->setChecked(checked);
    }
    bool caretEnabled;
    const QString text = CaretPaneText(caretEnabled);
    m_pStatusBar->SetCaretPane(caretEnabled, text);
    const CSourceView* editor = GetActiveEditor();
    m_pStatusBar->SetFormatPane(editor ? DescribeSourceFormat(editor->GetFormat()) : QString());
}

CSourceView* CMainFrame::GetActiveEditor() const
{
    CChildFrame* child = GetActiveChild();
    return child ? dynamic_cast<CSourceView*>(child->GetDocument().FindViewByClass(kSourceViewClass)) : nullptr;
}

QString CMainFrame::CaretPaneText(bool& enabled) const
{
    enabled = false;
    CSourceView* editor = GetActiveEditor();
    if (!editor) return QString();
    int line, column;
    editor->GetCaretPosition(line, column);
    enabled = true;
    return FormatCaretPane(line, column);
}

void CMainFrame::EnterRunState()
{
    m_pActiveBeforeRun = m_pMdiArea->currentSubWindow();
    m_pFocusBeforeRun = QApplication::focusWidget();
    m_bRunning = true;
    m_nRunSteps = 0;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) window->setEnabled(false);
    UpdateCommandUI();
}

void CMainFrame::LeaveRunState()
{
    m_nRunSteps = 0;
    m_pStatusBar->GetProgress()->setValue(0);
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) window->setEnabled(true);
    m_bRunning = false;
    // Disabling the windows took the focus away, and a message box shown during the
    // run may have activated another window: both go back to where they were.
    if (m_pActiveBeforeRun) m_pMdiArea->setActiveSubWindow(m_pActiveBeforeRun);
    if (m_pFocusBeforeRun && m_pFocusBeforeRun->isVisible()) m_pFocusBeforeRun->setFocus(Qt::OtherFocusReason);
    m_pActiveBeforeRun = nullptr;
    m_pFocusBeforeRun = nullptr;
    UpdateCommandUI();
}

void CMainFrame::ShowRunIndicator() { m_pStatusBar->GetProgress()->setValue(m_nRunSteps); }

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back from another program, where the file may have been changed.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) QueueFileCheck();
}

void CMainFrame::QueueFileCheck()
{
    // After the activation is done: the check may ask a question.
    QMetaObject::invokeMethod(
        &m_app, [app = &m_app] { app->CheckFileOnDisk(); }, Qt::QueuedConnection);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // During a run the window cannot be closed; afterwards the document decides.
    if (m_bRunning || !m_app.CloseDocument()) {
        event->ignore();
        return;
    }
    StorePlacement();
    event->accept();
}

void CMainFrame::RestorePlacement()
{
    // Room above for the title bar (before the window is shown its frame is not known).
    const int title =
        std::max(geometry().top() - frameGeometry().top(), style()->pixelMetric(QStyle::PM_TitleBarHeight));
    QRect normal;
    if (ParsePlacement(ReadWindowValue("MainFrame"), normal)) {
        // Within the screen it shows most on.
        setGeometry(FitPlacement(normal, ScreenBoundsFor(normal).adjusted(0, title, 0, 0), kMinimumSize));
        return;
    }
    // The first start: the whole screen, which the windows inside are laid out for.
    if (const QScreen* screen = this->screen()) setGeometry(FirstMainWindowRect(screen->availableGeometry(), title));
}

void CMainFrame::StorePlacement()
{
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (!normal.isValid()) return;
    WriteWindowValue("MainFrame", FormatPlacement(normal, isMaximized()));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_bRunning && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (m_bRunning || urls.isEmpty()) return;
    event->acceptProposedAction();
    // Only the first file of a drop is opened.
    const QString path = urls.first().toLocalFile();
    if (!path.isEmpty()) m_app.OpenDocumentFile(path);
}
