#include "platform/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Translations {

bool install(const QLocale &locale)
{
    // One translator for the life of the application, replaced on a change.
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    const QString folder = QStringLiteral(":/quillfen/i18n");
    if (!translator.load(locale, QStringLiteral("quillfen"), QStringLiteral("_"), folder)
        && !translator.load(QStringLiteral("quillfen_en"), folder))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace Translations
