#pragma once

#include "model/SubjectDetails.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

// What was learnt of each thread's subject, with the ETags to ask again at
// no cost, kept between runs in $XDG_CACHE_HOME/quillfen/subject-details.json
// (the first account's) or subject-details-<account key>.json.
// Bounded: past maxEntries the entries stored longest ago go first. A file
// that cannot be read is renamed aside (".corrupt-<time>") and the cache
// starts empty. Main thread only.
class SubjectDetailsCache {
public:
    struct Entry {
        // The thread's update time the details were fetched at.
        QDateTime updatedAt;
        QString subjectUrl;
        QByteArray subjectEtag;
        // Empty when the latest actor is the author.
        QString commentUrl;
        QByteArray commentEtag;
        SubjectDetails details;
        QDateTime storedAt;
        // The pages of the subject and of its latest comment on the web site,
        // empty when not known.
        QString subjectPage = {};
        QString commentPage = {};

        // The page that shows the latest activity.
        const QString &webPage() const { return commentPage.isEmpty() ? subjectPage : commentPage; }
    };

    static constexpr qsizetype maxEntries = 2000;

    // `accountKey` empty for the first account; percent-encoded in the name.
    static QString defaultPath(const QString &accountKey = {});
    explicit SubjectDetailsCache(QString path = defaultPath());

    const Entry *find(const QString &threadId) const;
    void insert(const QString &threadId, Entry entry);

    // Reads the file once; later calls do nothing.
    void load();
    // Writes the file whole if anything changed since it was read or written.
    void save();
    // Forgets every entry and deletes the file.
    void discard();

private:
    QString m_path;
    QHash<QString, Entry> m_entries;
    bool m_loaded = false;
    bool m_dirty = false;
};
