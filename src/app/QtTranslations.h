#pragma once
// Qt's own texts (file dialogs, the overwrite question, standard buttons) in
// the program's language, from the translations Qt installs (qt6-translations-l10n).

#include <QLocale>
#include <QString>

namespace QtTranslations {
// The Chinese Qt translation that suits the locale: the locale's own when it is
// a Chinese one, otherwise simplified Chinese, since the program speaks it.
QString LanguageFor(const QLocale &locale);
// Loads and installs it on the application; false when Qt's files are missing.
bool Install(const QLocale &locale = QLocale::system());
} // namespace QtTranslations
