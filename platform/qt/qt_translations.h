#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

namespace platform::qt {

// Installs Qt's own Simplified Chinese texts (standard buttons, the panes'
// context menus) from `folder`, the folder Qt's translations are installed
// in unless told otherwise. Without them, nullptr: Qt's texts stay English.
// The translator stays installed while it lives.
std::unique_ptr<QTranslator> InstallQtTranslations(const QString& folder);
std::unique_ptr<QTranslator> InstallQtTranslations();

}  // namespace platform::qt
