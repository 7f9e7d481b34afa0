#include "api/RevalidationCache.h"

#include <QCryptographicHash>

RevalidationCache &RevalidationCache::shared()
{
    // Used from the main thread only, like the network access manager.
    static RevalidationCache cache;
    return cache;
}

QByteArray RevalidationCache::keyFor(const QUrl &url, const QString &token)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(token.toUtf8());
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(url.toEncoded());
    return hash.result();
}

std::optional<RevalidationCache::Entry> RevalidationCache::lookup(const QByteArray &key) const
{
    const auto found = m_entries.constFind(key);
    if (found == m_entries.cend())
        return std::nullopt;
    return *found;
}

void RevalidationCache::store(const QByteArray &key, Entry entry)
{
    if (!m_entries.contains(key) && m_entries.size() >= maxEntries)
        m_entries.clear();
    m_entries.insert(key, std::move(entry));
}

void RevalidationCache::clear()
{
    m_entries.clear();
}
