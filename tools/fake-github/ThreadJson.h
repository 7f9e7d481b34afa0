#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

// Notification threads as GitHub sends them, for tests, benchmarks and
// screenshots: one builder of the wire format.
struct WireThread {
    QString id;
    bool unread = true;
    QString updatedAt = QStringLiteral("2024-05-01T09:30:00Z");
    QString title = QStringLiteral("A thread");
    QString reason = QStringLiteral("mention");
    QString fullName = QStringLiteral("octo/hooks");
    QJsonValue url = QJsonValue::Null;
    QString kind = QStringLiteral("Issue");
};

// A GET /notifications body holding these threads, with every key GitHub
// sends (the decoder passes over the ones it does not need).
QByteArray threadsBody(const QList<WireThread> &threads);

// `count` threads spread over a few dozen repositories, every subject kind
// and several reasons, a minute apart, every third one read.
QList<WireThread> manyThreads(int count);
