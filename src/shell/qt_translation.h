#pragma once
#include <QTranslator>
#include <memory>

// Qt's own texts (standard buttons, file dialogs, edit menus) in Japanese, from the
// translation Debian installs with qt6-translations-l10n.
class CQtTranslation {
public:
    // Loads and installs it; false when the translation is not there.
    bool Install();
    ~CQtTranslation();

private:
    std::unique_ptr<QTranslator> m_pQt;
    std::unique_ptr<QTranslator> m_pAliases;
};
