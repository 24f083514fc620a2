#include "shell/desktop_host.h"

#include <QApplication>
#include "shell/main_frame.h"
#include "shell/shell_ui.h"
#include "shell/zelkora_app.h"
#include "text/codepage.h"
#include "views/device_view.h"

void CDesktopHost::ApplyDeviceSettings()
{
    const CEnvironment& env = m_app.GetEnvironment();
    m_settings.inDeviceType = env.m_nInDeviceType;
    m_settings.outDeviceType = env.m_nOutDeviceType;
    m_settings.inFileName = env.m_strInFileName.toStdString();
    m_settings.outFileName = env.m_strOutFileName.toStdString();
}

// The user reads the output so far before answering a box or typing a line.
void CDesktopHost::ShowPendingOutput()
{
    if (CZelkoraFrame* frame = m_app.GetSimulatorFrame())
        if (auto* view = dynamic_cast<CDeviceView*>(frame->GetWorkView())) view->Flush();
}

// The panes told of a new state have their repaints pending: they happen before a box
// opens over the window, so that what the box speaks of is what the window shows.
void CDesktopHost::ShowPendingRepaints() { QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

void CDesktopHost::ShowMessage(int, MessageIcon icon, const std::string& text)
{
    ShowPendingOutput();
    ShowPendingRepaints();
    m_app.GetUi().ShowMessage(m_app.GetMainFrame(), icon, QString::fromStdString(text));
}

void CDesktopHost::Beep() { m_app.GetUi().Beep(); }

bool CDesktopHost::RunKeyInputDialog(std::string& line)
{
    ShowPendingOutput();
    QString text;
    if (!m_app.GetUi().RunKeyInput(m_app.GetMainFrame(), text)) return false;
    line = Utf8ToCp932(text.toStdString());
    return true;
}

void CDesktopHost::EnterRunningState()
{
    m_lastPump = {};
    m_app.GetMainFrame()->EnterRunState();
}

void CDesktopHost::LeaveRunningState() { m_app.GetMainFrame()->LeaveRunState(); }

void CDesktopHost::AdvanceRunIndicator() { m_app.GetMainFrame()->StepRunIndicator(); }

void CDesktopHost::PumpMessages()
{
    // Called every 101 statements: dispatching events costs far more than the
    // statements, so the window system is served about twenty times a second.
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPump < std::chrono::milliseconds(50)) return;
    m_lastPump = now;
    CMainFrame* frame = m_app.GetMainFrame();
    frame->ShowRunIndicator();
    QApplication::processEvents(QEventLoop::AllEvents);
    frame->UpdateCommandUI();
}

bool CDesktopHost::OpenSimulatorWindow(CZelkoraDoc& doc) { return m_app.OpenSimulatorFrame(doc); }

void CDesktopHost::CloseSimulatorWindow(CZelkoraDoc&) { m_app.DestroySimulatorFrame(); }
