#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>

#include <chrono>
#include <optional>

// The pace GitHub asks for: the poll interval it sends with the thread list,
// and the pauses its rate limits impose, each kept for the token whose answer
// said so (`key`: KeychainManager::tokenDigest). While a pause lasts the
// client sends nothing with that token. Main thread only.
namespace RequestPacing {

using Headers = QList<QPair<QByteArray, QByteArray>>;

// How long GitHub asks to wait after an answer, absent for no pause:
// Retry-After first, then a spent primary limit until its reset, then for a
// secondary limit that says neither, a minute doubled on each repeat (at most
// an hour). `repeats` counts the secondary limits met in a row before this one.
std::optional<std::chrono::seconds> pauseAfter(int status, const Headers &headers, QByteArrayView body, int repeats,
                                               const QDateTime &now);

// Records what an answer says about the pace.
void noteAnswer(const QByteArray &key, int status, const Headers &headers, QByteArrayView body);

// When requests may go out again, while a pause lasts.
std::optional<QDateTime> pausedUntil(const QByteArray &key);

// The least time between two polls of the thread list, as GitHub last said.
std::optional<std::chrono::seconds> pollInterval(const QByteArray &key);

// Forgets everything (tests).
void clear();

} // namespace RequestPacing
