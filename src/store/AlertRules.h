#pragma once

#include "model/GHNotification.h"

#include <QJsonArray>
#include <QList>
#include <QString>

#include <optional>

// The user's rules for what a thread may do: the preference "rules", a JSON
// array of {"repository": "owner/name" | "owner/*", "reason": "<raw reason>"
// (optional), "host": "<host>" (optional), "action": "show" | "silent" | "hide"}.
// The first rule that matches a thread decides; without one it is shown.
// Elements that do not read as a rule are skipped, and kept when the rules
// are written again.
namespace AlertRules {

inline constexpr char preferenceKey[] = "rules";
// Where a value that is not an array at all is moved before rules are written.
inline constexpr char unreadableKey[] = "rulesUnreadable";
// Posted on the notice centre whenever the rules are written.
inline constexpr char changedNotice[] = "rulesChanged";
// Every thread's host until there are other accounts.
inline constexpr char defaultHost[] = "github.com";

// silent: listed and counted, never alerts; hide: not listed, not counted.
enum class Action { show, silent, hide };

struct Rule {
    QString repository;
    std::optional<QString> reason = std::nullopt;
    std::optional<QString> host = std::nullopt;
    Action action = Action::show;

    friend bool operator==(const Rule &, const Rule &) = default;
};

// The elements as stored, the readable ones also as rules.
struct RuleSet {
    QJsonArray stored;
    QList<Rule> rules;
};

RuleSet parse(const QJsonArray &array);
std::optional<Rule> parseRule(const QJsonValue &value);
QJsonObject toJson(const Rule &rule);

bool matches(const Rule &rule, const GHNotification &thread, const QString &host = QString::fromLatin1(defaultHost));
Action actionFor(const QList<Rule> &rules, const GHNotification &thread,
                 const QString &host = QString::fromLatin1(defaultHost));

// The preference, read afresh. A value that is not an array (or a string
// holding one) counts as no rules.
RuleSet current();
// Writes the array and tells the notice centre.
void write(const QJsonArray &array);
// A rule for a whole repository, placed first so that it wins; an earlier
// rule for exactly that repository, host and any reason goes.
void addRepositoryRule(const QString &repository, Action action, const std::optional<QString> &host = std::nullopt);

QString actionName(Action action);
std::optional<Action> actionFromName(const QString &name);

} // namespace AlertRules
