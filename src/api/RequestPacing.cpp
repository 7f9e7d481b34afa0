#include "api/RequestPacing.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace RequestPacing {
namespace {

struct State {
    std::optional<QDateTime> pausedUntil;
    std::optional<std::chrono::seconds> pollInterval;
    int secondaryRepeats = 0;
};

QHash<QByteArray, State> &states()
{
    static QHash<QByteArray, State> byToken;
    return byToken;
}

// A handful of tokens is all one session meets (the stored one, those tried).
constexpr qsizetype maxTokens = 8;

State &state(const QByteArray &key)
{
    QHash<QByteArray, State> &all = states();
    if (!all.contains(key) && all.size() >= maxTokens) {
        // Those that asked for nothing still in force go first.
        all.removeIf([](const auto &entry) {
            return !entry.value().pausedUntil || *entry.value().pausedUntil <= QDateTime::currentDateTimeUtc();
        });
        if (all.size() >= maxTokens)
            all.clear();
    }
    return all[key];
}

QByteArray header(const Headers &headers, QByteArrayView name)
{
    for (const auto &[key, value] : headers) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value.trimmed();
    }
    return {};
}

// A whole number of seconds, as GitHub writes them; absent otherwise.
std::optional<qint64> seconds(const QByteArray &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value >= 0 ? std::optional<qint64>(value) : std::nullopt;
}

bool mentionsRateLimit(QByteArrayView body)
{
    const QJsonObject error = QJsonDocument::fromJson(body.toByteArray()).object();
    return error.value(QLatin1String("message")).toString().contains(QLatin1String("rate limit"), Qt::CaseInsensitive);
}

} // namespace

std::optional<std::chrono::seconds> pauseAfter(int status, const Headers &headers, QByteArrayView body, int repeats,
                                               const QDateTime &now)
{
    if (status != 403 && status != 429)
        return std::nullopt;
    // Bounded: a hostile header cannot silence Quillfen for ever.
    constexpr qint64 longest = 24 * 3600;
    if (const auto retryAfter = seconds(header(headers, "retry-after")))
        return std::chrono::seconds(std::clamp<qint64>(*retryAfter, 1, longest));
    if (header(headers, "x-ratelimit-remaining") == "0") {
        if (const auto reset = seconds(header(headers, "x-ratelimit-reset")))
            return std::chrono::seconds(std::clamp<qint64>(*reset - now.toSecsSinceEpoch(), 1, longest));
    }
    // A 403 that is not about a limit is a refusal, not a request to wait.
    if (status == 429 || mentionsRateLimit(body))
        return std::chrono::seconds(60LL << std::clamp(repeats, 0, 6));
    return std::nullopt;
}

void noteAnswer(const QByteArray &key, int status, const Headers &headers, QByteArrayView body)
{
    State &current = state(key);
    if (const auto interval = seconds(header(headers, "x-poll-interval")); interval && *interval > 0)
        current.pollInterval = std::chrono::seconds(std::min<qint64>(*interval, 3600));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (const auto pause = pauseAfter(status, headers, body, current.secondaryRepeats, now)) {
        current.pausedUntil = now.addSecs(pause->count());
        const bool secondary =
            header(headers, "retry-after").isEmpty() && header(headers, "x-ratelimit-remaining") != "0";
        current.secondaryRepeats = secondary ? current.secondaryRepeats + 1 : 0;
    } else if ((status >= 200 && status <= 299) || status == 304) {
        current.secondaryRepeats = 0;
    }
}

std::optional<QDateTime> pausedUntil(const QByteArray &key)
{
    const auto found = states().constFind(key);
    if (found != states().cend() && found->pausedUntil && *found->pausedUntil > QDateTime::currentDateTimeUtc())
        return found->pausedUntil;
    return std::nullopt;
}

std::optional<std::chrono::seconds> pollInterval(const QByteArray &key)
{
    const auto found = states().constFind(key);
    return found == states().cend() ? std::nullopt : found->pollInterval;
}

void clear()
{
    states().clear();
}

} // namespace RequestPacing
