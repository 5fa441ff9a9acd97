#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool Install(const QString& name, const QString& prefix, const QString& folder) {
    // Owned by the application, which may outlive any window.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), name, prefix, folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

void InstallTranslations() {
    if (QLocale().language() == QLocale::English || QLocale().language() == QLocale::C)
        return;
    if (Install(QStringLiteral("kartavo"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        Install(QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
