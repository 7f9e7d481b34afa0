#pragma once

#include <QLocale>

// The translations built into the application (translations/*.ts).
namespace Translations {

// Installs the translation for `locale` when there is one; English, the
// language of the source, needs none. Call once the application exists.
bool install(const QLocale &locale = QLocale());

} // namespace Translations
