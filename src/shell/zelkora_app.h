#pragma once
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <chrono>
#include <memory>
#include "shell/environment.h"
#include "shell/source_frame.h"
#include "shell/zelkora_frame.h"
#include "simulator/document_host.h"
#include "views/command_target.h"

class CMainFrame;
class CSourceFrame;
class CZelkoraDoc;
class CZelkoraFrame;
class IShellUi;
class CQtTranslation;

// The application: settings, the main window, the one open document with its
// source and simulator windows, the application-wide commands, and the host that
// the document core talks to.
class CZelkoraApp : public QObject, public CCommandTarget, public IDocumentHost {
    Q_OBJECT
public:
    // ui: the dialogs to use (null: the real ones).
    explicit CZelkoraApp(IShellUi* ui = nullptr);
    ~CZelkoraApp() override;

    // Start-up: settings, main window, the file named on the command line or a new document.
    bool InitInstance(const QStringList& arguments);

    CEnvironment& GetEnvironment() { return m_env; }
    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    CZelkoraDoc* GetDocument() const { return m_pDoc.get(); }
    CSourceFrame* GetSourceFrame() const { return m_pSourceFrame; }
    CZelkoraFrame* GetSimulatorFrame() const { return m_pSimFrame; }
    IShellUi& GetUi() const { return *m_pUi; }

    // Documents: at most one is open.
    bool NewDocument();
    bool OpenDocument();
    CZelkoraDoc* OpenDocumentFile(const QString& path);
    bool SaveDocument(bool saveAs);
    // Asks about unsaved changes and closes the document with its windows; false when the user cancels.
    bool CloseDocument();
    bool CloseDocumentFromFrame(CSourceFrame* frame);
    bool IsModified() const;

    QStringList GetRecentFiles() const;
    void AddRecentFile(const QString& path);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
    // The document's own commands (close, save, Stop).
    CCommandTarget& GetDocumentTarget() { return *m_pDocTarget; }

    // IDocumentHost
    void ShowMessage(int messageId, MessageIcon icon, const std::string& text) override;
    void Beep() override;
    bool RunKeyInputDialog(std::string& line) override;
    const CDeviceSettings& GetDeviceSettings() override { return m_deviceSettings; }
    void EnterRunningState() override;
    void LeaveRunningState() override;
    void AdvanceRunIndicator() override;
    void PumpMessages() override;
    bool OpenSimulatorWindow(CZelkoraDoc& doc) override;
    void CloseSimulatorWindow(CZelkoraDoc& doc) override;

private:
    bool SaveModified();
    void CreateDocument(const QString& text, const QString& path);
    void DestroySimulatorFrame();
    // The menu bar and caption follow the windows that are open.
    void RefreshMainFrame();
    void ShowText(MessageIcon icon, const QString& text);
    void RunEnvironmentDialog();
    void ShowAbout();
    // Takes the device settings of the environment over for the document.
    void ApplyDeviceSettings();

    CEnvironment m_env;
    CDeviceSettings m_deviceSettings;  // the device part of m_env, as the document reads it
    std::unique_ptr<CQtTranslation> m_pQtTranslation;
    std::unique_ptr<IShellUi> m_pOwnUi;
    IShellUi* m_pUi;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CZelkoraDoc> m_pDoc;
    QPointer<CSourceFrame> m_pSourceFrame;
    QPointer<CZelkoraFrame> m_pSimFrame;
    std::unique_ptr<CCommandTarget> m_pDocTarget;
    std::chrono::steady_clock::time_point m_lastPump{};
    mutable QStringList m_recentFiles;
    mutable bool m_bRecentLoaded = false;
};
