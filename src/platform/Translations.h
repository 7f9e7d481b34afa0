#pragma once

#include <QLocale>

// The translations built into the application (translations/*.ts).
namespace Translations {

// Installs the translation for `locale`; a language without one gets English,
// the language of the source, whose file holds only the plural forms of the
// texts counted with %n. Call once the application exists.
bool install(const QLocale &locale = QLocale());

} // namespace Translations
