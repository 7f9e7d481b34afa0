#pragma once

#include <QByteArray>
#include <QString>

// The account a test serves from one fake host: the first account on
// github.com, or bob's on an Enterprise Server (its API under /api/v3, its
// token in its own keychain item, and no first token: an Enterprise-only
// user). The tests of what every account does alike run a row of each.
struct TestAccount {
    bool first = true;
    quint16 port = 0;

    QByteArray prefix() const { return first ? QByteArray() : QByteArrayLiteral("/api/v3"); }
    QString host() const;
    // A thread's key in the store.
    QString key(const QString &id) const;
    // Stores its token and lists it where the store finds it; false when the
    // keyring or the preferences refused.
    bool enrol() const;
};
