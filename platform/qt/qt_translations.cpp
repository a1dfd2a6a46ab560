#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform::qt {

std::unique_ptr<QTranslator> InstallQtTranslations(const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        return nullptr;
    }
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

std::unique_ptr<QTranslator> InstallQtTranslations() {
    return InstallQtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace platform::qt
