#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Records of the GitHub notifications API as decoded from the wire. Some
// fields are not carried into GHNotification but still take part in
// validation, so they are kept here.
struct GitHubNotification {
    struct Subject {
        QString title;
        std::optional<QString> url;
        std::optional<QString> latestCommentUrl;
        QString type;
    };

    struct Owner {
        QString login;
        QString avatarUrl;
    };

    struct Repository {
        qint64 id = 0;
        QString name;
        QString fullName;
        Owner owner;
        QString htmlUrl;
        std::optional<QString> description;
        bool isPrivate = false;
    };

    QString id;
    bool unread = false;
    QString reason;
    QDateTime updatedAt;
    std::optional<QDateTime> lastReadAt;
    Subject subject;
    Repository repository;
};

struct GitHubErrorResponse {
    QString message;
    std::optional<QString> documentationUrl;
};
