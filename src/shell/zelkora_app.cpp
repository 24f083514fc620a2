#include "shell/zelkora_app.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/about_dlg.h"
#include "shell/environment_dlg.h"
#include "shell/first_layout.h"
#include "shell/input_device_dlg.h"
#include "shell/main_frame.h"
#include "shell/qt_translation.h"
#include "shell/shell_ui.h"
#include "shell/source_file.h"
#include "shell/source_frame.h"
#include "shell/source_view.h"
#include "shell/trace_table_save.h"
#include "shell/zelkora_frame.h"
#include "simulator/file_identity.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "views/settings_store.h"
#include "views/view_font.h"

namespace {
const char* const kSupportUrl = "https://zelkora.example.org/support/";

// Where the manual may be: beside the program (a build tree, a copy in a folder), or where
// an installation under a prefix keeps it (share/zelkora/Help).
QStringList ManualPlaces(const QString& programFolder)
{
    return {programFolder + "/Help/zelkora.htm", QDir::cleanPath(programFolder + "/../share/zelkora/Help/zelkora.htm")};
}

QString Message(int id) { return QString::fromUtf8(LoadString(id).data()); }

QString Message(int id, const QString& insert)
{
    return QString::fromStdString(FormatMessage(id, insert.toStdString()));
}

// A failed save says that the previous file is still there, unless there was none.
QString SaveFailedText(const QString& path, bool existed, const QString& error)
{
    return Message(existed ? MSG_FILE_SAVE_FAILED : MSG_NEW_FILE_SAVE_FAILED, path) + "\n" + error;
}

// Close, Save, Save As and Stop belong to the document.
class CDocumentCommands : public CCommandTarget {
public:
    explicit CDocumentCommands(CZelkoraApp& app) : m_app(app) {}
    bool OnCommand(int id) override
    {
        CZelkoraDoc* doc = m_app.GetDocument();
        if (!doc) return false;
        switch (id) {
        case ID_FILE_CLOSE: m_app.CloseDocument(); return true;
        case ID_FILE_SAVE: m_app.SaveDocument(false); return true;
        case ID_FILE_SAVE_AS: m_app.SaveDocument(true); return true;
        case ID_REOPEN_CP932: m_app.ReopenDocument(TextEncoding::Cp932); return true;
        case ID_REOPEN_UTF8: m_app.ReopenDocument(TextEncoding::Utf8); return true;
        case ID_STOP: doc->Stop(); return true;
        default: return false;
        }
    }
    bool OnUpdateCommand(CCmdUI& ui) override
    {
        if (!m_app.GetDocument()) return false;
        switch (ui.id) {
        case ID_FILE_CLOSE:
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS: return true;
        case ID_STOP: ui.Enable(false); return true;  // the main window enables it during a run
        case ID_REOPEN_CP932:
        case ID_REOPEN_UTF8: {
            // Only a file can be read again; the check mark shows how it was read.
            const TextEncoding encoding = ui.id == ID_REOPEN_UTF8 ? TextEncoding::Utf8 : TextEncoding::Cp932;
            ui.Enable(m_app.HasFile());
            ui.SetCheck(m_app.HasFile() && m_app.GetSourceFrame() &&
                        m_app.GetSourceFrame()->GetEditor()->GetFormat().encoding == encoding);
            return true;
        }
        default: return false;
        }
    }

private:
    CZelkoraApp& m_app;
};
}  // namespace

// The icons live in this static library; they must be registered by hand.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

CZelkoraApp::CZelkoraApp(IShellUi* ui)
    : m_host(*this),
      m_pOwnUi(ui ? nullptr : new CQtShellUi),
      m_pUi(ui ? ui : m_pOwnUi.get()),
      m_pDocTarget(new CDocumentCommands(*this)),
      m_strProgramFolder(QApplication::applicationDirPath())
{
    InitIconResources();
}

CZelkoraApp::~CZelkoraApp()
{
    // Windows first: their views unregister from the document as they go.
    DestroySimulatorFrame();
    delete m_pSourceFrame.data();
    m_pMainFrame.reset();
    m_pDoc.reset();
}

bool CZelkoraApp::InitInstance(const QStringList& arguments)
{
    QApplication::setApplicationName(AppTitle());
    m_pQtTranslation = std::make_unique<CQtTranslation>();
    m_pQtTranslation->Install();
    RegisterFontSubstitutions();
    {
        auto settings = OpenSettings();
        m_env.Load(*settings);
    }
    m_host.ApplyDeviceSettings();
    // A path on the command line names a file from where the program was started.
    const QString startFolder = QDir::currentPath();
    if (!m_env.m_strSourcePath.isEmpty()) QDir::setCurrent(m_env.m_strSourcePath);

    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    m_pMainFrame->RefreshRecentFiles();
    m_pMainFrame->RestorePlacement();
    m_pMainFrame->show();

    const bool ok = arguments.isEmpty()
                        ? NewDocument()
                        : OpenDocumentFile(QDir(startFolder).absoluteFilePath(arguments.first())) != nullptr;
    m_pMainFrame->UpdateCommandUI();
    return ok;
}

// --- documents -------------------------------------------------------------------

bool CZelkoraApp::IsModified() const { return m_pSourceFrame && m_pSourceFrame->GetEditor()->document()->isModified(); }

bool CZelkoraApp::SaveModified()
{
    if (!m_pDoc || !IsModified()) return true;
    const QString name = QString::fromStdString(m_pDoc->GetSourcePath());
    switch (m_pUi->AskYesNoCancel(m_pMainFrame.get(), Message(MSG_SAVE_CHANGES, name))) {
    case QMessageBox::Yes: return SaveDocument(false);
    case QMessageBox::No: return true;
    default: return false;
    }
}

bool CZelkoraApp::CloseDocument()
{
    if (!m_pDoc) return true;
    if (!SaveModified()) return false;
    DestroySimulatorFrame();
    delete m_pSourceFrame.data();
    m_pDoc.reset();
    RefreshMainFrame();
    return true;
}

bool CZelkoraApp::CloseDocumentFromFrame(CSourceFrame* frame)
{
    if (frame != m_pSourceFrame) return true;
    if (m_pMainFrame && m_pMainFrame->IsRunning()) return false;
    if (!SaveModified()) return false;
    DestroySimulatorFrame();
    // The frame deletes itself once its close is accepted; the document goes with it.
    // Its panes leave the document first: a widget tells of its destruction before
    // its children are destroyed, and they must not reach a deleted document then.
    frame->DetachPanes();
    m_pSourceFrame = nullptr;
    CZelkoraDoc* doc = m_pDoc.release();
    connect(frame, &QObject::destroyed, this, [doc] { delete doc; });
    QMetaObject::invokeMethod(this, &CZelkoraApp::RefreshMainFrame, Qt::QueuedConnection);
    return true;
}

void CZelkoraApp::CreateDocument(const CDecodedSource& source, const QString& path)
{
    m_pDoc = std::make_unique<CZelkoraDoc>(m_host);
    m_pDoc->SetSourcePath(path.isEmpty() ? CZelkoraDoc::kUntitled : path.toStdString());
    m_diskWatch.Forget();
    m_chosenEncoding.reset();
    auto* frame = new CSourceFrame(*this, *m_pDoc);
    m_pSourceFrame = frame;
    CSourceView* editor = frame->GetEditor();
    LoadSourceIntoEditor(*editor, source);
    editor->document()->setModified(false);
    m_pMainFrame->AddChild(frame);
    frame->setGeometry(FirstSourceWindowRect(m_pMainFrame->GetMdiArea()->viewport()->size()));
    frame->RestorePlacement("SourceFrame");
    frame->show();
    frame->InitialLayout();
    m_pMainFrame->GetMdiArea()->setActiveSubWindow(frame);
    frame->setWindowTitle(frame->GetCaption());
    RefreshMainFrame();
}

bool CZelkoraApp::NewDocument()
{
    if (!CloseDocument()) return false;
    CreateDocument(CDecodedSource(), QString());
    return true;
}

bool CZelkoraApp::OpenDocument()
{
    if (!CloseDocument()) return false;
    const QString path = m_pUi->GetOpenFileName(m_pMainFrame.get(), QDir::currentPath(),
                                                QString::fromUtf8("CASLｿｰｽ (*.asm);;すべてのﾌｧｲﾙ (*.*)"));
    return !path.isEmpty() && OpenDocumentFile(path);
}

CZelkoraDoc* CZelkoraApp::OpenDocumentFile(const QString& path)
{
    // Read first: a file that cannot be read leaves the open document as it is.
    std::string bytes;
    QString error;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!ReadFileBytes(absolute, bytes, error)) {
        ShowText(MessageIcon::Warning, Message(MSG_FILE_OPEN_FAILED, absolute) + "\n" + error);
        return nullptr;
    }
    // A binary opened by mistake opens only if the user means it (its bytes still come back as they were).
    if (LooksLikeBinary(bytes) && !m_pUi->AskYesNo(m_pMainFrame.get(), Message(MSG_NOT_TEXT_FILE))) return nullptr;
    if (!CloseDocument()) return nullptr;
    CreateDocument(DecodeSource(bytes), absolute);
    m_diskWatch.Remember(absolute, bytes);
    AddRecentFile(absolute);
    return m_pDoc.get();
}

bool CZelkoraApp::HasFile() const { return m_pDoc && m_pDoc->GetSourcePath() != CZelkoraDoc::kUntitled; }

bool CZelkoraApp::ReopenDocument(TextEncoding encoding)
{
    if (!HasFile() || !m_pSourceFrame) return false;
    const QString path = QString::fromStdString(m_pDoc->GetSourcePath());
    if (IsModified() && !m_pUi->AskOkCancel(m_pMainFrame.get(), Message(MSG_REOPEN_DISCARD, path))) return false;
    std::string bytes;
    QString error;
    if (!ReadFileBytes(path, bytes, error)) {
        ShowText(MessageIcon::Warning, Message(MSG_FILE_OPEN_FAILED, path) + "\n" + error);
        return false;
    }
    m_chosenEncoding = encoding;
    ReplaceSource(DecodeSource(bytes, encoding));
    m_diskWatch.Remember(path, bytes);
    return true;
}

void CZelkoraApp::ReplaceSource(const CDecodedSource& source)
{
    CSourceView* editor = m_pSourceFrame->GetEditor();
    LoadSourceIntoEditor(*editor, source);
    editor->document()->setModified(false);
    // The error list was about the text that went; it goes with it.
    m_pDoc->UpdateAllViews(nullptr, HINT_ASSEMBLE_BEGIN);
}

void CZelkoraApp::CheckFileOnDisk()
{
    // Not during a run or a dialog, and once at a time (a question activates windows again).
    if (!HasFile() || !m_pSourceFrame || m_bCheckingDisk || (m_pMainFrame && m_pMainFrame->IsRunning()) ||
        QApplication::activeModalWidget())
        return;
    m_bCheckingDisk = true;
    const QString path = QString::fromStdString(m_pDoc->GetSourcePath());
    QTextDocument* text = m_pSourceFrame->GetEditor()->document();
    switch (m_diskWatch.Check(false)) {
    case CDiskWatch::Change::None: break;
    case CDiskWatch::Change::Missing:
        m_diskWatch.Acknowledge();
        ShowText(MessageIcon::Warning, Message(MSG_FILE_MISSING, path));
        text->setModified(true);  // the text is now only in the editor
        break;
    case CDiskWatch::Change::Changed: {
        std::string bytes;
        QString error;
        if (m_pUi->AskYesNo(m_pMainFrame.get(),
                            Message(IsModified() ? MSG_FILE_CHANGED_EDITED : MSG_FILE_CHANGED_RELOAD, path))) {
            if (ReadFileBytes(path, bytes, error)) {
                ReplaceSource(m_chosenEncoding ? DecodeSource(bytes, *m_chosenEncoding) : DecodeSource(bytes));
                m_diskWatch.Remember(path, bytes);
                break;
            }
            ShowText(MessageIcon::Warning, Message(MSG_FILE_OPEN_FAILED, path) + "\n" + error);
        }
        // The editor's text is now a version the file does not hold: closing asks to save it.
        m_diskWatch.Acknowledge();
        text->setModified(true);
        break;
    }
    }
    m_bCheckingDisk = false;
}

bool CZelkoraApp::ConfirmOverwrite(const QString& path)
{
    if (path != QString::fromStdString(m_pDoc->GetSourcePath())) return true;
    switch (m_diskWatch.Check(true)) {
    case CDiskWatch::Change::None: return true;
    case CDiskWatch::Change::Missing:
        ShowText(MessageIcon::Information, Message(MSG_FILE_RECREATED, path));
        return true;
    case CDiskWatch::Change::Changed:
        return m_pUi->AskOkCancel(m_pMainFrame.get(), Message(MSG_FILE_CHANGED_OVERWRITE, path));
    }
    return true;
}

bool CZelkoraApp::SaveDocument(bool saveAs)
{
    if (!m_pDoc || !m_pSourceFrame) return false;
    QString path = QString::fromStdString(m_pDoc->GetSourcePath());
    if (saveAs || path == QString::fromUtf8(CZelkoraDoc::kUntitled)) {
        const QString dir = path == QString::fromUtf8(CZelkoraDoc::kUntitled) ? QDir::currentPath() : path;
        path = AskSaveName(dir, "CASLｿｰｽ (*.asm);;すべてのﾌｧｲﾙ (*.*)", ".asm");
        if (path.isEmpty()) return false;
    }
    if (!ConfirmOverwrite(path)) return false;
    CSourceView* editor = m_pSourceFrame->GetEditor();
    CSourceFormat format = editor->GetFormat();
    bool encodable = true;
    std::string bytes = EditorToFileBytes(*editor->document(), format, &encodable);
    if (!encodable) {
        // Code page 932 lacks some characters: UTF-8 keeps them all.
        switch (m_pUi->AskYesNoCancel(m_pMainFrame.get(), Message(MSG_SAVE_AS_UTF8))) {
        case QMessageBox::Yes:
            format.encoding = TextEncoding::Utf8;
            bytes = EditorToFileBytes(*editor->document(), format);
            break;
        case QMessageBox::No: break;
        default: return false;
        }
    }
    if (!WriteOrTell(path, bytes)) return false;
    editor->SetFormat(format);
    path = QFileInfo(path).absoluteFilePath();
    m_diskWatch.Remember(path, bytes);
    m_pDoc->SetSourcePath(path.toStdString());
    editor->document()->setModified(false);
    m_pSourceFrame->setWindowTitle(m_pSourceFrame->GetCaption());
    AddRecentFile(path);
    return true;
}

bool CZelkoraApp::SaveTraceTable()
{
    if (!m_pDoc || !ConfirmTraceTableSize(*m_pDoc, *m_pUi, m_pMainFrame.get())) return false;
    const QString source = QString::fromStdString(m_pDoc->GetSourcePath());
    const QFileInfo info(source);
    const QString dir = source == QString::fromUtf8(CZelkoraDoc::kUntitled)
                            ? QDir::current().filePath("trace.csv")
                            : info.dir().filePath(info.completeBaseName() + ".csv");
    const QString path = AskSaveName(dir, "CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*.*)", ".csv");
    if (path.isEmpty()) return false;
    // The program's own source would be lost on disk (the editor still holds it, unsaved edits aside).
    if (IsSameFile(path.toStdString(), m_pDoc->GetSourcePath())) {
        ShowText(MessageIcon::Warning, Message(MSG_TRACE_TABLE_OVER_SOURCE, path));
        return false;
    }
    QString error;
    const bool existed = QFileInfo::exists(path);
    if (WriteTraceTableFile(*m_pDoc, path, *m_pUi, m_pMainFrame.get(), error)) return true;
    if (!error.isEmpty()) ShowText(MessageIcon::Warning, SaveFailedText(path, existed, error));
    return false;
}

QString CZelkoraApp::AskSaveName(const QString& start, const char* filter, const char* suffix)
{
    QString path = m_pUi->GetSaveFileName(m_pMainFrame.get(), start, QString::fromUtf8(filter), true);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QString::fromUtf8(suffix);
    return path;
}

bool CZelkoraApp::WriteOrTell(const QString& path, const std::string& bytes)
{
    QString error;
    const bool existed = QFileInfo::exists(path);
    if (WriteFileSafely(path, bytes, error)) return true;
    ShowText(MessageIcon::Warning, SaveFailedText(path, existed, error));
    return false;
}

// Without a program to show it, the user is told where the manual is, to open it some other way.
void CZelkoraApp::OpenManual()
{
    const QStringList places = ManualPlaces(m_strProgramFolder);
    const auto found =
        std::find_if(places.begin(), places.end(), [](const QString& p) { return QFileInfo(p).isFile(); });
    if (found == places.end())
        ShowText(MessageIcon::Warning, Message(MSG_MANUAL_MISSING, QDir::toNativeSeparators(places.join('\n'))));
    else
        m_pUi->OpenUrl(QUrl::fromLocalFile(*found), [app = QPointer<CZelkoraApp>(this), path = *found] {
            if (app) app->ShowText(MessageIcon::Warning, Message(MSG_MANUAL_NOT_SHOWN, QDir::toNativeSeparators(path)));
        });
}

QStringList CZelkoraApp::GetRecentFiles() const { return m_recentFiles.Get(); }

void CZelkoraApp::AddRecentFile(const QString& path)
{
    m_recentFiles.Add(path);
    if (m_pMainFrame) m_pMainFrame->RefreshRecentFiles();
}

// --- application commands --------------------------------------------------------

bool CZelkoraApp::OnCommand(int id)
{
    if (id >= ID_FILE_MRU_FIRST && id < ID_FILE_MRU_FIRST + kRecentFileCount) {
        const QStringList files = GetRecentFiles();
        const int index = id - ID_FILE_MRU_FIRST;
        if (index < files.size()) OpenDocumentFile(files[index]);
        return true;
    }
    switch (id) {
    case ID_FILE_NEW: NewDocument(); return true;
    case ID_FILE_OPEN: OpenDocument(); return true;
    case ID_ENVIRONMENT: RunEnvironmentDialog(); return true;
    case ID_APP_ABOUT: ShowAbout(); return true;
    case ID_APP_EXIT: m_pMainFrame->close(); return true;
    case ID_MANUAL: OpenManual(); return true;
    case ID_SUPPORT: m_pUi->OpenUrl(QUrl(kSupportUrl), nullptr); return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        if (CChildFrame* child = m_pMainFrame->GetActiveChild()) child->ActivateNextPane(id == ID_NEXT_PANE);
        return true;
    default: return false;
    }
}

bool CZelkoraApp::OnUpdateCommand(CCmdUI& ui)
{
    if (ui.id >= ID_FILE_MRU_FIRST && ui.id < ID_FILE_MRU_FIRST + kRecentFileCount) {
        ui.Enable(ui.id - ID_FILE_MRU_FIRST < GetRecentFiles().size());
        return true;
    }
    switch (ui.id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_ENVIRONMENT:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
    case ID_MANUAL:
    case ID_SUPPORT: return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE: ui.Enable(m_pDoc != nullptr); return true;
    default: return false;
    }
}

void CZelkoraApp::RunEnvironmentDialog()
{
    CEnvironmentDlg dialog(m_env, *m_pUi, m_pMainFrame.get());
    if (dialog.exec() != QDialog::Accepted) return;
    auto settings = OpenSettings();
    m_env.Save(*settings);
    m_host.ApplyDeviceSettings();
}

void CZelkoraApp::ShowAbout()
{
    CAboutDlg dialog(m_pMainFrame.get());
    dialog.exec();
}

void CZelkoraApp::ShowText(MessageIcon icon, const QString& text)
{
    m_pUi->ShowMessage(m_pMainFrame.get(), icon, text);
}

bool CZelkoraApp::OpenSimulatorFrame(CZelkoraDoc& doc)
{
    if (&doc != m_pDoc.get()) return false;
    DestroySimulatorFrame();
    auto* frame = new CZelkoraFrame(*this, doc, m_env.m_nWorkView);
    m_pSimFrame = frame;
    // The editor's PR mark goes with the window: told once the window's panes have gone.
    connect(frame, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (m_pDoc) m_pDoc->UpdateAllViews(nullptr, HINT_MACHINE_STATE);
        });
    });
    m_pMainFrame->AddChild(frame);
    // Beside the source window, so that both can be used (a stored placement comes with the layout).
    frame->setGeometry(FirstSimulatorWindowRect(m_pMainFrame->GetMdiArea()->viewport()->size(),
                                                m_pSourceFrame ? m_pSourceFrame->geometry() : QRect()));
    frame->show();
    frame->InitialLayout();
    m_pMainFrame->GetMdiArea()->setActiveSubWindow(frame);
    frame->setWindowTitle(frame->GetCaption());
    doc.UpdateAllViews(nullptr, HINT_MACHINE_STATE);
    return true;
}

void CZelkoraApp::RefreshMainFrame()
{
    if (!m_pMainFrame) return;
    m_pMainFrame->RefreshMenuBar();
    m_pMainFrame->RefreshCaption();
}

void CZelkoraApp::DestroySimulatorFrame()
{
    if (!m_pSimFrame) return;
    CZelkoraFrame* frame = m_pSimFrame;
    m_pSimFrame = nullptr;
    delete frame;
}
