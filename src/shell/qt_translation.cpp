#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace {
// The file list of Qt's file dialog asks for "Folder", "Drive" and "%1 File" under
// names that this Qt's translation keeps under the file dialog's own: ask it there.
class CFileTypeTexts : public QTranslator {
public:
    explicit CFileTypeTexts(const QTranslator& qt) : m_qt(qt) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        const QByteArray name(context);
        if (name != "QAbstractFileIconProvider" && name != "QFileSystemModel") return QString();
        return m_qt.translate("QFileDialog", source, disambiguation, n);
    }

private:
    const QTranslator& m_qt;
};
}  // namespace

bool CQtTranslation::Install()
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto qt = std::make_unique<QTranslator>();
    if (!qt->load(japanese, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    if (!QCoreApplication::installTranslator(qt.get())) return false;
    m_pQt = std::move(qt);
    m_pAliases = std::make_unique<CFileTypeTexts>(*m_pQt);
    QCoreApplication::installTranslator(m_pAliases.get());
    return true;
}

CQtTranslation::~CQtTranslation()
{
    if (m_pAliases) QCoreApplication::removeTranslator(m_pAliases.get());
    if (m_pQt) QCoreApplication::removeTranslator(m_pQt.get());
}
