#pragma once
#include <chrono>
#include "simulator/document_host.h"

class CZelkoraApp;

// What the document asks of the desktop program: message boxes and the key-input
// dialog (through the program's dialogs, which tests answer), the device settings, the
// main window's running state and run indicator, event dispatching during a run, and
// the simulator window.
class CDesktopHost final : public IDocumentHost {
public:
    explicit CDesktopHost(CZelkoraApp& app) : m_app(app) {}

    // Takes the device settings of the environment over; the document reads them at every IN and OUT.
    void ApplyDeviceSettings();

    void ShowMessage(int messageId, MessageIcon icon, const std::string& text) override;
    void Beep() override;
    bool RunKeyInputDialog(std::string& line) override;
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void EnterRunningState() override;
    void LeaveRunningState() override;
    void AdvanceRunIndicator() override;
    void PumpMessages() override;
    bool OpenSimulatorWindow(CZelkoraDoc& doc) override;
    void CloseSimulatorWindow(CZelkoraDoc& doc) override;

private:
    void ShowPendingOutput();
    void ShowPendingRepaints();

    CZelkoraApp& m_app;
    CDeviceSettings m_settings;
    std::chrono::steady_clock::time_point m_lastPump{};
};
