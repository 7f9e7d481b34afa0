#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// The last successful answer per (address, token), held in memory only, so
// that the next request can ask "changed since?" and a 304 answer, which
// GitHub does not count against the rate limit, can reuse the body.
// Keys are digests that include the token: another token never sees an entry.
class RevalidationCache {
public:
    struct Entry {
        // Every page of the list, first to last.
        QList<QByteArray> pages;
        QByteArray lastModified;
        QByteArray etag;
    };

    static RevalidationCache &shared();

    static QByteArray keyFor(const QUrl &url, const QString &token);

    std::optional<Entry> lookup(const QByteArray &key) const;
    void store(const QByteArray &key, Entry entry);
    void forget(const QByteArray &key) { m_entries.remove(key); }
    void clear();

private:
    // A handful of entries covers every address and token a session uses.
    static constexpr qsizetype maxEntries = 8;
    QHash<QByteArray, Entry> m_entries;
};
