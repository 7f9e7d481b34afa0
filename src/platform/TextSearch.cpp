#include "platform/TextSearch.h"

TextSearch::TextSearch(const QString &needle, const QLocale &locale)
    : m_locale(locale), m_needle(locale.toLower(needle))
{
}

bool TextSearch::matches(const QString &haystack) const
{
    return m_locale.toLower(haystack).contains(m_needle);
}
