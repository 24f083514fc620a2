// A host and a view for tests of the document core: they record everything the
// core asks of the program around it, and answer from prepared data.
#pragma once
#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>
#include "simulator/document_host.h"
#include "simulator/hints.h"
#include "simulator/view.h"
#include "simulator/zelkora_doc.h"

struct CRecordedMessage {
    int id;
    MessageIcon icon;
    std::string text;
};

// One update a view received. The hint object lives only during the broadcast,
// so its fields are copied.
struct CRecordedHint {
    CView* sender;
    int hint;
    bool hasObject;
    const CAssembler* object;
    std::string text;
};

class CRecordingView : public CView {
public:
    explicit CRecordingView(std::string className = "CTestView", std::vector<std::string>* events = nullptr)
        : m_className(std::move(className)), m_events(events)
    {
    }

    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override
    {
        hints.push_back({sender, hint, object != nullptr, object ? object->m_pObject : nullptr,
                         object ? object->m_strText : std::string()});
        if (m_events) m_events->push_back(m_className + " hint " + std::to_string(hint));
    }
    const char* GetClassName() const override { return m_className.c_str(); }

    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const auto& h : hints) codes.push_back(h.hint);
        return codes;
    }
    int Count(int hint) const
    {
        return static_cast<int>(std::count_if(hints.begin(), hints.end(), [&](const auto& h) { return h.hint == hint; }));
    }
    // The texts of the device lines (hint 768) in the order they came.
    std::vector<std::string> DeviceLines() const
    {
        std::vector<std::string> lines;
        for (const auto& h : hints)
            if (h.hint == HINT_DEVICE_OUTPUT) lines.push_back(h.text);
        return lines;
    }

    std::vector<CRecordedHint> hints;

private:
    std::string m_className;
    std::vector<std::string>* m_events;
};

class CRecordingHost : public IDocumentHost {
public:
    // The document that Stop requests and window changes go to.
    void Attach(CZelkoraDoc* doc) { m_pDoc = doc; }

    void ShowMessage(int messageId, MessageIcon icon, const std::string& text) override
    {
        messages.push_back({messageId, icon, text});
        events.push_back("message " + std::to_string(messageId));
    }
    void Beep() override
    {
        ++beeps;
        events.push_back("beep");
    }
    // Answers from keyLines; an empty optional or an empty queue is the EOF button.
    bool RunKeyInputDialog(std::string& line) override
    {
        ++keyDialogs;
        if (keyLines.empty()) return false;
        std::optional<std::string> next = std::move(keyLines.front());
        keyLines.pop_front();
        if (!next) return false;
        line = *next;
        return true;
    }
    // A host that cannot wait has its answer ready only when a line or the EOF button is queued.
    bool IsKeyInputReady() override { return !cannotWait || !keyLines.empty(); }
    const CDeviceSettings& GetDeviceSettings() override
    {
        ++settingsReads;
        return settings;
    }

    void EnterRunningState() override
    {
        ++enterCount;
        running = true;
        events.push_back("enter");
    }
    void LeaveRunningState() override
    {
        ++leaveCount;
        running = false;
        events.push_back("leave");
    }
    void AdvanceRunIndicator() override
    {
        ++indicatorSteps;
        if (!running) ++callsOutsideRun;
    }
    void PumpMessages() override
    {
        ++pumps;
        if (!running) ++callsOutsideRun;
        if (stopAtPump != 0 && pumps == stopAtPump && m_pDoc) m_pDoc->Stop();
        if (pauseEvery != 0 && pumps % pauseEvery == 0 && m_pDoc) m_pDoc->Stop(RunEnd::Paused);
    }

    bool OpenSimulatorWindow(CZelkoraDoc& doc) override
    {
        ++opens;
        events.push_back("open");
        prAtOpen = doc.GetCore().GetRegisters()[REG_PR];
        if (failOpen) return false;
        if (simulateView) doc.AddView(simulateView);
        return true;
    }
    // Closing the simulator frame destroys its views.
    void CloseSimulatorWindow(CZelkoraDoc& doc) override
    {
        ++closes;
        events.push_back("close");
        for (CView* view : doc.GetViews())
            if (std::string(view->GetClassName()) == "CSimulateView") doc.RemoveView(view);
    }

    std::vector<int> MessageIds() const
    {
        std::vector<int> ids;
        for (const auto& m : messages) ids.push_back(m.id);
        return ids;
    }
    int CountMessages(int id) const
    {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(), [&](const auto& m) { return m.id == id; }));
    }
    void Forget()
    {
        messages.clear();
        events.clear();
        beeps = pumps = indicatorSteps = enterCount = leaveCount = opens = closes = keyDialogs = 0;
        callsOutsideRun = 0;
    }

    // Recorded.
    std::vector<CRecordedMessage> messages;
    std::vector<std::string> events;  // "message N", "beep", "enter", "leave", "open", "close", view hints
    int beeps = 0;
    int pumps = 0;
    int indicatorSteps = 0;
    int enterCount = 0;
    int leaveCount = 0;
    int opens = 0;
    int closes = 0;
    int keyDialogs = 0;
    int settingsReads = 0;
    int callsOutsideRun = 0;
    bool running = false;
    WORD prAtOpen = 0;

    // Prepared.
    std::deque<std::optional<std::string>> keyLines;
    CDeviceSettings settings;
    int stopAtPump = 0;              // request Stop at this pump (1-based); 0: never
    int pauseEvery = 0;              // pause the run at every this many pumps; 0: never
    bool cannotWait = false;         // key input never blocks: no queued line is no answer yet
    bool failOpen = false;           // OpenSimulatorWindow fails
    CView* simulateView = nullptr;   // added to the document when the simulator window opens

private:
    CZelkoraDoc* m_pDoc = nullptr;
};

// A document with a recording host and view, and helpers to load a program.
struct CTestDocument {
    CRecordingHost host;
    CZelkoraDoc doc{host};
    CRecordingView view{"CTestView", &host.events};

    CTestDocument()
    {
        host.Attach(&doc);
        doc.AddView(&view);
    }

    // Assembles and loads; true on success. The recordings start empty afterwards.
    bool Load(const std::string& source)
    {
        doc.SetSourceText(source);
        const bool ok = doc.AssembleAndLoad();
        host.Forget();
        view.hints.clear();
        return ok;
    }

    CRegister& Reg() { return doc.GetCore().GetRegisters(); }
    CMemory& Mem() { return doc.GetCore().GetMemory(); }
    WORD Label(const std::string& name) const
    {
        WORD value = 0;
        doc.GetAssembler().LookupLabel(name, value);
        return value;
    }
    CMnemonic* At(WORD address) { return doc.GetProgram().FindExecutable(address); }
};
