#pragma once

#include "settings/Accounts.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>
#include <variant>

// Adding and removing the accounts after the first, as Settings does: the
// keychain item and the "accounts" preference, then the notice the store's
// sessions follow.
namespace AccountEnrolment {

// The account added, or why it was refused, in one line for the user.
using AddResult = std::variant<Accounts::Entry, QString>;

// Checks the host and the token against the host's user resource (the
// login, a classic token's scopes), refuses an account listed already or
// equal to the first one, then stores the token and lists the account.
// Nothing is left stored unless every check passes.
QCoro::Task<AddResult> add(QString hostText, QString token);

// Unlists the account (its session stops, its threads go, no alert), then
// deletes its keychain item; the error of that deletion, if any.
QCoro::Task<std::optional<QString>> remove(Accounts::Entry entry);

} // namespace AccountEnrolment
