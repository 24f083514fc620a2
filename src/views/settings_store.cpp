#include "views/settings_store.h"

std::unique_ptr<QSettings> OpenSettings() { return std::make_unique<QSettings>("HOLMVIK", "Zelkora II"); }
