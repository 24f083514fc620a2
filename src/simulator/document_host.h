#pragma once
#include <string>
#include <string_view>

class CZelkoraDoc;

enum class MessageIcon { Information, Warning, Stop };

// The four device settings, read at every IN and OUT.
struct CDeviceSettings {
    int inDeviceType = 0;   // 0: key input; otherwise the file inFileName
    int outDeviceType = 0;  // 1: screen and the file outFileName; otherwise screen only
    std::string inFileName;
    std::string outFileName;
};

// Everything the document core needs from the program around it: the desktop
// program, the command-line runner and the tests each implement it.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // A message box: its string-table number, its icon and its finished text (UTF-8).
    virtual void ShowMessage(int messageId, MessageIcon icon, const std::string& text) = 0;
    virtual void Beep() = 0;
    // The key-input dialog of IN: a line (code page 932 bytes), or false for end of input.
    virtual bool RunKeyInputDialog(std::string& line) = 0;
    // Whether RunKeyInputDialog can answer now. A host that must not block while a run goes
    // on (a page's worker) says no while it holds neither a line nor the end of input: the
    // IN is then given up and the run ends waiting for input, to go on when the line comes.
    // A host that can wait for the user keeps this default.
    virtual bool IsKeyInputReady() { return true; }
    // The settings as they are now; the host keeps them (they are read at every IN and OUT).
    virtual const CDeviceSettings& GetDeviceSettings() = 0;
    // Every output line of the program (OUT, SVC) as it is written, for a host that
    // shows the output itself (code page 932, no line end).
    virtual void OnOutputLine(std::string_view /*text*/) {}

    // The running state of the main window and its run indicator.
    virtual void EnterRunningState() = 0;
    virtual void LeaveRunningState() = 0;
    virtual void AdvanceRunIndicator() = 0;
    // Dispatches pending window events; called every 101 statements of a run.
    virtual void PumpMessages() = 0;

    // Opens the simulator window on the document; false when it cannot be created.
    virtual bool OpenSimulatorWindow(CZelkoraDoc& doc) = 0;
    // Closes it (the document closes its device files itself).
    virtual void CloseSimulatorWindow(CZelkoraDoc& doc) = 0;
};
