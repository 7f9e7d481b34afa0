#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

// One release in an update feed (RSS 2.0 with the sparkle: namespace).
struct AppcastItem {
    QString title;
    QString version; // sparkle:version, the build
    QString shortVersionString; // sparkle:shortVersionString, shown to users
    QString channel; // empty: the stable channel
    QUrl downloadUrl; // the enclosure
    QUrl releaseNotesUrl; // sparkle:releaseNotesLink
    QString description; // inline release notes, if any

    QString displayVersion() const { return shortVersionString.isEmpty() ? version : shortVersionString; }
    friend bool operator==(const AppcastItem &, const AppcastItem &) = default;
};

struct AppcastError {
    QString description;
};

namespace Appcast {

std::variant<QList<AppcastItem>, AppcastError> parse(const QByteArray &xml);

// Dotted versions compared part by part, numbers as numbers ("1.10" is newer
// than "1.9"); words mark pre-releases ("1.0-beta" is older than "1.0").
int compareVersions(const QString &a, const QString &b);

// The newest item whose build (sparkle:version) is newer than the running
// build, among those whose channel is allowed (items without a channel are
// always allowed).
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QString &currentBuild,
                                        const QStringList &allowedChannels);

} // namespace Appcast
