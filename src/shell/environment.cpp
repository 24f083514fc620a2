#include "shell/environment.h"

#include <QSettings>

void CEnvironment::Load(QSettings& settings)
{
    settings.beginGroup("Env");
    m_strSourcePath = settings.value("SourcePath", QString()).toString();
    m_nWorkView = settings.value("WorkView", 0).toInt();
    m_nSaveWatch = settings.value("SaveWatch", 0).toInt();
    m_nInDeviceType = settings.value("InDeviceType", 0).toInt();
    m_nOutDeviceType = settings.value("OutDeviceType", 0).toInt();
    m_strInFileName = settings.value("InFileName", QString()).toString();
    m_strOutFileName = settings.value("OutFileName", QString()).toString();
    settings.endGroup();
}

bool CEnvironment::Save(QSettings& settings) const
{
    settings.beginGroup("Env");
    settings.setValue("SourcePath", m_strSourcePath);
    settings.setValue("WorkView", m_nWorkView);
    settings.setValue("InDeviceType", m_nInDeviceType);
    settings.setValue("OutDeviceType", m_nOutDeviceType);
    settings.setValue("InFileName", m_strInFileName);
    settings.setValue("OutFileName", m_strOutFileName);
    settings.setValue("SaveWatch", m_nSaveWatch);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}
