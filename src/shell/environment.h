#pragma once
#include <QString>

class QSettings;

// The user's environment settings, section "Env" of the settings store.
class CEnvironment {
public:
    virtual ~CEnvironment() = default;

    void Load(QSettings& settings);
    // Writes every value; false at the first one that cannot be written.
    bool Save(QSettings& settings) const;

    QString m_strSourcePath;
    int m_nWorkView = 0;       // 0 memory dump, 1 watches, other: output device view
    int m_nSaveWatch = 0;      // kept for the store; nothing acts on it
    int m_nInDeviceType = 0;   // 0 key input, other: the file m_strInFileName
    int m_nOutDeviceType = 0;  // 1 screen and the file m_strOutFileName, other: screen only
    QString m_strInFileName;
    QString m_strOutFileName;
};
