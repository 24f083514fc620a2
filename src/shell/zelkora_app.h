#pragma once
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>
#include "shell/desktop_host.h"
#include "shell/disk_watch.h"
#include "shell/environment.h"
#include "shell/recent_files.h"
#include "shell/source_frame.h"
#include "shell/zelkora_frame.h"
#include "simulator/document_host.h"
#include "text/source_text.h"
#include "views/command_target.h"

class CMainFrame;
class CSourceFrame;
class CZelkoraDoc;
class CZelkoraFrame;
class IShellUi;
class CQtTranslation;

// The application: settings, the main window, the life cycle of the one open
// document with its source and simulator windows, and the application-wide
// commands. The document talks to the program through CDesktopHost; the recent
// files are CRecentFileList's.
class CZelkoraApp : public QObject, public CCommandTarget {
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
    // Whether the document has a file (it is not untitled).
    bool HasFile() const;
    // Reads the document's file again in the encoding given (after asking before edits are dropped).
    bool ReopenDocument(TextEncoding encoding);
    // Asks about a change another program made to the document's file (the main window
    // or the source window became active): reload it, or keep the editor's text.
    void CheckFileOnDisk();
    // Writes the simulator's trace table to a CSV file the user names.
    bool SaveTraceTable();
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

    // The folder the program's own files (the manual) are looked for from; tests move it.
    void SetProgramFolder(const QString& folder) { m_strProgramFolder = folder; }

    // The simulator window of the document (its host opens and closes it through these).
    bool OpenSimulatorFrame(CZelkoraDoc& doc);
    void DestroySimulatorFrame();

private:
    bool SaveModified();
    void CreateDocument(const CDecodedSource& source, const QString& path);
    // The editor's text replaced by a file's, as read.
    void ReplaceSource(const CDecodedSource& source);
    // Before the document's own file is written: false when another program changed it
    // and the user chose not to write over it.
    bool ConfirmOverwrite(const QString& path);
    // The menu bar and caption follow the windows that are open.
    void RefreshMainFrame();
    void ShowText(MessageIcon icon, const QString& text);
    // The save dialog from start; a name without a suffix gets suffix. Empty when cancelled.
    QString AskSaveName(const QString& start, const char* filter, const char* suffix);
    // Writes bytes to path, or tells the user why it could not.
    bool WriteOrTell(const QString& path, const std::string& bytes);
    void RunEnvironmentDialog();
    void ShowAbout();
    void OpenManual();

    CEnvironment m_env;
    CDesktopHost m_host;
    std::unique_ptr<CQtTranslation> m_pQtTranslation;
    std::unique_ptr<IShellUi> m_pOwnUi;
    IShellUi* m_pUi;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CZelkoraDoc> m_pDoc;
    QPointer<CSourceFrame> m_pSourceFrame;
    QPointer<CZelkoraFrame> m_pSimFrame;
    std::unique_ptr<CCommandTarget> m_pDocTarget;
    CRecentFileList m_recentFiles;
    CDiskWatch m_diskWatch;
    // The encoding the user chose for the file by reopening it (else the rule decides).
    std::optional<TextEncoding> m_chosenEncoding;
    bool m_bCheckingDisk = false;
    QString m_strProgramFolder;
};
