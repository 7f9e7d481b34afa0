#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// The validators of the last whole answer per (address, token), held in
// memory only, so that the next request can ask "changed since?": a 304
// answer, which GitHub does not count against the rate limit, says the list
// held is current. No body is kept: what the answer said is already in the
// caller's hands, and a list of many large pages would otherwise stay in
// memory for good. Keys are digests that include the token: another token
// never sees an entry.
class RevalidationCache {
public:
    struct Entry {
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
