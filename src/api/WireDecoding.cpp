#include "api/WireDecoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace WireDecoding {
namespace {

// Thrown inside this file only; the public functions turn it into a value.
struct Failure {
    QString description;
};

QString typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// Reads the keys of one JSON object, naming the element and the full key
// path in every failure it reports.
class ObjectReader {
public:
    ObjectReader(QJsonObject object, QString where, QString keyPrefix = {})
        : m_object(std::move(object)), m_where(std::move(where)), m_prefix(std::move(keyPrefix))
    {
    }

    QString requiredString(const char *key) const { return required(key, QJsonValue::String, "a string").toString(); }
    bool requiredBool(const char *key) const { return required(key, QJsonValue::Bool, "a boolean").toBool(); }

    std::optional<QString> optionalString(const char *key) const
    {
        const QJsonValue value = optional(key, QJsonValue::String, "a string");
        if (value.isUndefined())
            return std::nullopt;
        return value.toString();
    }

    ObjectReader requiredObject(const char *key) const
    {
        return ObjectReader(required(key, QJsonValue::Object, "an object").toObject(), m_where, path(key) + u'.');
    }

    qint64 requiredInt64(const char *key) const
    {
        const QJsonValue value = required(key, QJsonValue::Double, "an integer");
        const QVariant number = value.toVariant();
        if (number.typeId() == QMetaType::LongLong)
            return number.toLongLong();
        // Integral values written with a fraction part ("12.0") are accepted;
        // anything that would lose digits is not.
        const double d = value.toDouble();
        constexpr double limit = 9223372036854775808.0; // 2^63
        if (std::isfinite(d) && std::trunc(d) == d && d >= -limit && d < limit)
            return static_cast<qint64>(d);
        fail(key, QStringLiteral("expected a signed 64-bit integer, found %1").arg(value.toDouble()));
    }

    QDateTime requiredTimestamp(const char *key) const
    {
        const QString text = requiredString(key);
        return timestamp(key, text);
    }

    std::optional<bool> optionalBool(const char *key) const
    {
        const QJsonValue value = optional(key, QJsonValue::Bool, "a boolean");
        if (value.isUndefined())
            return std::nullopt;
        return value.toBool();
    }

    std::optional<ObjectReader> optionalObject(const char *key) const
    {
        const QJsonValue value = optional(key, QJsonValue::Object, "an object");
        if (value.isUndefined())
            return std::nullopt;
        return ObjectReader(value.toObject(), m_where, path(key) + u'.');
    }

    std::optional<QDateTime> optionalTimestamp(const char *key) const
    {
        const std::optional<QString> text = optionalString(key);
        if (!text)
            return std::nullopt;
        return timestamp(key, *text);
    }

    [[noreturn]] void fail(const char *key, const QString &problem) const
    {
        throw Failure{QStringLiteral("%1, key \"%2\": %3").arg(m_where, path(key), problem)};
    }

private:
    QString path(const char *key) const { return m_prefix + QLatin1StringView(key); }

    QJsonValue required(const char *key, QJsonValue::Type type, const char *expected) const
    {
        const QJsonValue value = m_object.value(QLatin1StringView(key));
        if (value.isUndefined())
            fail(key, QStringLiteral("required key is missing"));
        if (value.isNull())
            fail(key, QStringLiteral("required value is null"));
        if (value.type() != type)
            fail(key, QStringLiteral("expected %1, found %2").arg(QLatin1StringView(expected), typeName(value)));
        return value;
    }

    // Missing and null both give Undefined.
    QJsonValue optional(const char *key, QJsonValue::Type type, const char *expected) const
    {
        const QJsonValue value = m_object.value(QLatin1StringView(key));
        if (value.isUndefined() || value.isNull())
            return QJsonValue(QJsonValue::Undefined);
        if (value.type() != type)
            fail(key,
                 QStringLiteral("expected %1 or null, found %2").arg(QLatin1StringView(expected), typeName(value)));
        return value;
    }

    QDateTime timestamp(const char *key, const QString &text) const
    {
        std::optional<QDateTime> parsed = parseInternetDateTime(text);
        if (!parsed) {
            // Hostile bodies may carry huge strings; quote only the start.
            const QString shown = text.size() > 40 ? text.left(40) + QStringLiteral("…") : text;
            fail(key, QStringLiteral("\"%1\" is not a date-time of the form 2024-05-01T09:30:00Z").arg(shown));
        }
        return *parsed;
    }

    QJsonObject m_object;
    QString m_where;
    QString m_prefix;
};

GitHubNotification::Owner readOwner(const ObjectReader &in)
{
    GitHubNotification::Owner owner;
    owner.login = in.requiredString("login");
    owner.avatarUrl = in.requiredString("avatar_url");
    return owner;
}

GitHubNotification::Subject readSubject(const ObjectReader &in)
{
    GitHubNotification::Subject subject;
    subject.title = in.requiredString("title");
    subject.url = in.optionalString("url");
    subject.latestCommentUrl = in.optionalString("latest_comment_url");
    subject.type = in.requiredString("type");
    return subject;
}

GitHubNotification::Repository readRepository(const ObjectReader &in)
{
    GitHubNotification::Repository repository;
    repository.id = in.requiredInt64("id");
    repository.name = in.requiredString("name");
    repository.fullName = in.requiredString("full_name");
    repository.owner = readOwner(in.requiredObject("owner"));
    repository.htmlUrl = in.requiredString("html_url");
    repository.description = in.optionalString("description");
    repository.isPrivate = in.requiredBool("private");
    return repository;
}

// Keys are read in the order the API documents them, so the first problem
// reported is the first one a reader of the body would meet.
GitHubNotification readNotification(const ObjectReader &in)
{
    GitHubNotification thread;
    thread.id = in.requiredString("id");
    thread.unread = in.requiredBool("unread");
    thread.reason = in.requiredString("reason");
    thread.subject = readSubject(in.requiredObject("subject"));
    thread.repository = readRepository(in.requiredObject("repository"));
    thread.updatedAt = in.requiredTimestamp("updated_at");
    thread.lastReadAt = in.optionalTimestamp("last_read_at");
    return thread;
}

Actor readActor(const std::optional<ObjectReader> &user)
{
    if (!user)
        return {};
    Actor actor;
    actor.login = user->requiredString("login");
    actor.isBot = actor.login.endsWith(QLatin1StringView("[bot]")) || user->optionalString("type") == u"Bot";
    return actor;
}

SubjectState readState(const ObjectReader &in, bool pullRequest)
{
    const QString state = in.requiredString("state");
    if (state != u"open" && state != u"closed")
        in.fail("state", QStringLiteral("expected \"open\" or \"closed\""));
    const bool open = state == u"open";
    if (pullRequest) {
        const bool merged = in.requiredBool("merged");
        const bool draft = in.optionalBool("draft").value_or(false);
        if (merged)
            return SubjectState::merged;
        if (!open)
            return SubjectState::closed;
        return draft ? SubjectState::draft : SubjectState::open;
    }
    if (open)
        return SubjectState::open;
    // GitHub draws a duplicate as it draws "not planned".
    const std::optional<QString> reason = in.optionalString("state_reason");
    return reason == u"not_planned" || reason == u"duplicate" ? SubjectState::closedNotPlanned : SubjectState::closed;
}

std::variant<QJsonDocument, DecodingError> parseJson(const QByteArray &body)
{
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return DecodingError{
            QStringLiteral("the body is not valid JSON (%1 at offset %2)").arg(error.errorString()).arg(error.offset)};
    return document;
}

bool isAsciiDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

std::optional<QDateTime> parseInternetDateTime(QStringView text)
{
    // YYYY-MM-DDTHH:MM:SS followed by Z (20 characters) or ±HH:MM (25).
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    const auto digitsAt = [&](qsizetype from, qsizetype count) -> std::optional<int> {
        const QStringView part = text.mid(from, count);
        if (!isAsciiDigits(part))
            return std::nullopt;
        return part.toInt();
    };
    if (text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' || text[16] != u':')
        return std::nullopt;
    const auto year = digitsAt(0, 4), month = digitsAt(5, 2), day = digitsAt(8, 2);
    const auto hour = digitsAt(11, 2), minute = digitsAt(14, 2), second = digitsAt(17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    const QTime time(*hour, *minute, *second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;

    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (text[19] != u'Z')
            return std::nullopt;
    } else {
        const QChar sign = text[19];
        const auto offsetHours = digitsAt(20, 2), offsetMinutes = digitsAt(23, 2);
        if ((sign != u'+' && sign != u'-') || text[22] != u':' || !offsetHours || !offsetMinutes || *offsetHours > 23
            || *offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (*offsetHours * 3600 + *offsetMinutes * 60) * (sign == u'-' ? -1 : 1);
    }
    return QDateTime(date, time, QTimeZone::utc()).addSecs(-offsetSeconds);
}

std::variant<QList<GitHubNotification>, DecodingError> decodeNotificationList(const QByteArray &body)
{
    auto parsed = parseJson(body);
    if (auto *error = std::get_if<DecodingError>(&parsed))
        return *error;
    const QJsonDocument &document = std::get<QJsonDocument>(parsed);
    if (!document.isArray())
        return DecodingError{
            QStringLiteral("expected an array of notifications, found %1")
                .arg(document.isObject() ? QStringLiteral("an object") : QStringLiteral("a single value"))};

    const QJsonArray elements = document.array();
    QList<GitHubNotification> threads;
    threads.reserve(elements.size());
    try {
        for (qsizetype index = 0; index < elements.size(); ++index) {
            const QJsonValue element = elements.at(index);
            const QString where = QStringLiteral("element %1").arg(index);
            if (!element.isObject())
                throw Failure{QStringLiteral("%1: expected an object, found %2").arg(where, typeName(element))};
            threads.append(readNotification(ObjectReader(element.toObject(), where)));
        }
    } catch (const Failure &failure) {
        return DecodingError{failure.description};
    }
    return threads;
}

namespace {

// Runs `read` over the body's top-level object.
template<typename Read> auto decodeObject(const QByteArray &body, Read read)
    -> std::variant<decltype(read(std::declval<ObjectReader>())), DecodingError>
{
    auto parsed = parseJson(body);
    if (auto *error = std::get_if<DecodingError>(&parsed))
        return *error;
    const QJsonDocument &document = std::get<QJsonDocument>(parsed);
    if (!document.isObject())
        return DecodingError{QStringLiteral("expected an object")};
    try {
        return read(ObjectReader(document.object(), QStringLiteral("subject")));
    } catch (const Failure &failure) {
        return DecodingError{failure.description};
    }
}

} // namespace

std::variant<SubjectRecord, DecodingError> decodeSubject(const QByteArray &body, bool pullRequest)
{
    return decodeObject(body, [pullRequest](const ObjectReader &in) {
        return SubjectRecord{readState(in, pullRequest), readActor(in.optionalObject("user")),
                             in.optionalString("html_url").value_or(QString())};
    });
}

std::variant<CommentRecord, DecodingError> decodeComment(const QByteArray &body)
{
    return decodeObject(body, [](const ObjectReader &in) {
        return CommentRecord{readActor(in.optionalObject("user")), in.optionalString("html_url").value_or(QString())};
    });
}

std::variant<QString, DecodingError> decodeWebPage(const QByteArray &body)
{
    return decodeObject(body, [](const ObjectReader &in) { return in.optionalString("html_url").value_or(QString()); });
}

std::optional<GitHubErrorResponse> decodeErrorResponse(const QByteArray &body)
{
    auto parsed = parseJson(body);
    const QJsonDocument *document = std::get_if<QJsonDocument>(&parsed);
    if (!document || !document->isObject())
        return std::nullopt;
    try {
        const ObjectReader in(document->object(), QStringLiteral("error body"));
        GitHubErrorResponse response;
        response.message = in.requiredString("message");
        // The message is what the user sees; a malformed link beside it must
        // not take it away.
        const QJsonValue documentation = document->object().value(QLatin1StringView("documentation_url"));
        if (documentation.isString())
            response.documentationUrl = documentation.toString();
        return response;
    } catch (const Failure &) {
        return std::nullopt;
    }
}

} // namespace WireDecoding
