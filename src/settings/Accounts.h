#pragma once

#include <QList>
#include <QString>

// The accounts after the first, as the "accounts" preference keeps them: a
// JSON array of {"host": "<host[:port]>", "login": "<login>"} in the order
// they were added. The first account (the "github-token" item) is never
// listed. An absent key means none.
namespace Accounts {

inline constexpr char accountsKey[] = "accounts";

struct Entry {
    QString host;
    QString login;

    friend bool operator==(const Entry &, const Entry &) = default;
};

// The well-formed entries, in order. Elements that are not such an object,
// or repeat an earlier one, are passed over; a value that is no array
// reads as none.
QList<Entry> list();

// A host and a login that name one keychain item: a login holds no "/" nor
// blanks.
bool wellFormed(const Entry &entry);

// Appends the entry, keeping every element stored before, the malformed
// ones included. False when it is listed already or malformed.
bool add(const Entry &entry);
// Drops every element equal to the entry, keeping all others.
void remove(const Entry &entry);

} // namespace Accounts
