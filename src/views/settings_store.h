#pragma once
#include <QSettings>
#include <memory>

// The per-user settings store of the program: company "HOLMVIK", application "Zelkora II".
std::unique_ptr<QSettings> OpenSettings();
