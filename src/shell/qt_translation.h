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

// Qt's own widgets (the file dialog's sizes and dates) format with the system locale, which
// Qt reads once from the environment. Called before the QApplication is made, this lets it
// read Japanese whatever the environment says, and leaves the environment as it was for the
// C library and for the programs started from here.
void UseJapaneseSystemLocale();
