#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <utility>

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

void UseJapaneseSystemLocale()
{
    // LC_ALL comes first for every part of the locale; LANGUAGE would still overrule the language.
    const std::pair<const char*, const char*> japanese[] = {{"LC_ALL", "ja_JP.UTF-8"}, {"LANGUAGE", "ja_JP"}};
    QList<std::pair<QByteArray, bool>> saved;
    for (const auto& [name, value] : japanese) {
        saved.append({qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, value);
    }
    const QLocale system = QLocale::system();
    system.uiLanguages();  // read now, while the environment says Japanese
    for (qsizetype i = 0; i < saved.size(); ++i) {
        if (saved[i].second)
            qputenv(japanese[i].first, saved[i].first);
        else
            qunsetenv(japanese[i].first);
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}
