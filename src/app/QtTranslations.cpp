#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString QtTranslations::LanguageFor(const QLocale &locale)
{
    if (locale.language() != QLocale::Chinese)
        return QStringLiteral("zh_CN");
    const bool traditional = locale.script() == QLocale::TraditionalChineseScript
                             || (locale.script() == QLocale::AnyScript
                                 && (locale.territory() == QLocale::Taiwan || locale.territory() == QLocale::HongKong
                                     || locale.territory() == QLocale::Macao));
    return traditional ? QStringLiteral("zh_TW") : QStringLiteral("zh_CN");
}

bool QtTranslations::Install(const QLocale &locale)
{
    // Owned by the application, so it lives as long as the texts are asked for.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_") + LanguageFor(locale),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
