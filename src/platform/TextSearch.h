#pragma once

#include <QLocale>
#include <QString>

// Case-insensitive substring test in the user's locale (so a Turkish user's
// "I" finds "ı"). The needle is folded once; each candidate once per test.
class TextSearch {
public:
    explicit TextSearch(const QString &needle, const QLocale &locale = QLocale());

    bool isEmpty() const { return m_needle.isEmpty(); }
    bool matches(const QString &haystack) const;

private:
    QLocale m_locale;
    QString m_needle;
};
