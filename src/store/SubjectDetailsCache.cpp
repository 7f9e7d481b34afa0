#include "store/SubjectDetailsCache.h"

#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::array<std::pair<SubjectState, const char *>, 5> stateNames{{
    {SubjectState::open, "open"},
    {SubjectState::closed, "closed"},
    {SubjectState::closedNotPlanned, "not_planned"},
    {SubjectState::merged, "merged"},
    {SubjectState::draft, "draft"},
}};

QString stateName(SubjectState state)
{
    for (const auto &[value, name] : stateNames) {
        if (value == state)
            return QString::fromLatin1(name);
    }
    return {};
}

std::optional<SubjectState> stateNamed(const QString &text)
{
    for (const auto &[value, name] : stateNames) {
        if (text == QLatin1StringView(name))
            return value;
    }
    return std::nullopt;
}

QJsonObject actorJson(const Actor &actor)
{
    return {{"login", actor.login}, {"bot", actor.isBot}};
}

std::optional<Actor> actorFrom(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    if (!object.value("login").isString() || !object.value("bot").isBool())
        return std::nullopt;
    return Actor{object.value("login").toString(), object.value("bot").toBool()};
}

QJsonObject entryJson(const SubjectDetailsCache::Entry &entry)
{
    return {
        {"updatedAt", entry.updatedAt.toString(Qt::ISODate)},
        {"subjectUrl", entry.subjectUrl},
        {"subjectEtag", QString::fromLatin1(entry.subjectEtag)},
        {"commentUrl", entry.commentUrl},
        {"commentEtag", QString::fromLatin1(entry.commentEtag)},
        {"state", stateName(entry.details.state)},
        {"author", actorJson(entry.details.author)},
        {"latestActor", actorJson(entry.details.latestActor)},
        {"storedAt", entry.storedAt.toString(Qt::ISODate)},
        {"subjectPage", entry.subjectPage},
        {"commentPage", entry.commentPage},
    };
}

std::optional<SubjectDetailsCache::Entry> entryFrom(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    for (const char *key :
         {"updatedAt", "subjectUrl", "subjectEtag", "commentUrl", "commentEtag", "state", "storedAt"}) {
        if (!object.value(QLatin1StringView(key)).isString())
            return std::nullopt;
    }
    const auto state = stateNamed(object.value("state").toString());
    const auto author = actorFrom(object.value("author"));
    const auto latestActor = actorFrom(object.value("latestActor"));
    SubjectDetailsCache::Entry entry{
        QDateTime::fromString(object.value("updatedAt").toString(), Qt::ISODate),
        object.value("subjectUrl").toString(),
        object.value("subjectEtag").toString().toLatin1(),
        object.value("commentUrl").toString(),
        object.value("commentEtag").toString().toLatin1(),
        {},
        QDateTime::fromString(object.value("storedAt").toString(), Qt::ISODate),
    };
    if (!state || !author || !latestActor || !entry.updatedAt.isValid() || !entry.storedAt.isValid())
        return std::nullopt;
    entry.details = {*state, *author, *latestActor};
    // Files written before pages were known have none.
    entry.subjectPage = object.value("subjectPage").toString();
    entry.commentPage = object.value("commentPage").toString();
    return entry;
}

} // namespace

SubjectDetailsCache::SubjectDetailsCache(QString path) : m_path(std::move(path))
{
}

QString SubjectDetailsCache::defaultPath(const QString &accountKey)
{
    QString root = qEnvironmentVariable("XDG_CACHE_HOME");
    if (root.isEmpty() || QDir::isRelativePath(root))
        root = QDir::homePath() + QStringLiteral("/.cache");
    const QString account =
        accountKey.isEmpty() ? QString() : u'-' + QString::fromLatin1(QUrl::toPercentEncoding(accountKey));
    return root + QStringLiteral("/quillfen/subject-details") + account + QStringLiteral(".json");
}

const SubjectDetailsCache::Entry *SubjectDetailsCache::find(const QString &threadId) const
{
    const auto found = m_entries.constFind(threadId);
    return found == m_entries.cend() ? nullptr : &*found;
}

void SubjectDetailsCache::insert(const QString &threadId, Entry entry)
{
    m_entries.insert(threadId, std::move(entry));
    m_dirty = true;
    if (m_entries.size() <= maxEntries)
        return;
    // Past the bound, down to nine tenths, so a full cache is not sorted on every insert.
    QList<std::pair<QDateTime, QString>> ages;
    ages.reserve(m_entries.size());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        ages.append({it->storedAt, it.key()});
    std::sort(ages.begin(), ages.end());
    const qsizetype excess = m_entries.size() - maxEntries * 9 / 10;
    for (qsizetype i = 0; i < excess; ++i)
        m_entries.remove(ages.at(i).second);
}

void SubjectDetailsCache::load()
{
    if (std::exchange(m_loaded, true))
        return;
    QFile file(m_path);
    if (!file.exists())
        return;
    QJsonObject threads;
    bool readable = file.open(QIODevice::ReadOnly) && file.size() <= 64 * 1024 * 1024;
    if (readable) {
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        threads = document.object().value("threads").toObject();
        readable = document.isObject() && document.object().value("threads").isObject();
    }
    file.close();
    QHash<QString, Entry> entries;
    for (auto it = threads.constBegin(); readable && it != threads.constEnd(); ++it) {
        const auto entry = entryFrom(it.value());
        readable = entry.has_value();
        if (entry)
            entries.insert(it.key(), *entry);
    }
    if (readable) {
        m_entries = std::move(entries);
        return;
    }
    // Kept for inspection under a name no later write touches; the details
    // are fetched again.
    const QString aside = m_path + QStringLiteral(".corrupt-")
                          + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (QFile::rename(m_path, aside))
        Diagnostics::print(QStringLiteral("Subject details cache was unreadable; kept it as %1").arg(aside));
    else
        Diagnostics::print(QStringLiteral("Subject details cache is unreadable and could not be moved aside"));
}

void SubjectDetailsCache::discard()
{
    m_entries.clear();
    m_loaded = true;
    m_dirty = false;
    QFile::remove(m_path);
}

void SubjectDetailsCache::save()
{
    if (!std::exchange(m_dirty, false))
        return;
    QJsonObject threads;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        threads.insert(it.key(), entryJson(*it));
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(QJsonObject{{"threads", threads}}).toJson(QJsonDocument::Compact)) < 0
        || !file.commit())
        Diagnostics::print(QStringLiteral("Failed to write %1: %2").arg(m_path, file.errorString()));
}
