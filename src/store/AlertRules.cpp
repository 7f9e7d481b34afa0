#include "store/AlertRules.h"

#include "platform/NoticeCenter.h"
#include "platform/PreferencesFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace AlertRules {
namespace {

// "owner/name" or "owner/*": two non-empty pieces.
bool validRepository(const QString &repository)
{
    const QStringList pieces = repository.split(u'/');
    return pieces.size() == 2 && !pieces[0].isEmpty() && !pieces[1].isEmpty() && pieces[0] != u"*";
}

std::optional<QJsonArray> storedArray()
{
    const QVariant value = PreferencesFile::value(QString::fromLatin1(preferenceKey));
    if (value.typeId() == QMetaType::QVariantList)
        return QJsonArray::fromVariantList(value.toList());
    if (value.typeId() == QMetaType::QString) {
        const QJsonDocument document = QJsonDocument::fromJson(value.toString().toUtf8());
        if (document.isArray())
            return document.array();
    }
    return std::nullopt;
}

} // namespace

QString actionName(Action action)
{
    switch (action) {
    case Action::show:
        return QStringLiteral("show");
    case Action::silent:
        return QStringLiteral("silent");
    case Action::hide:
        return QStringLiteral("hide");
    }
    return QStringLiteral("show");
}

std::optional<Action> actionFromName(const QString &name)
{
    for (Action action : {Action::show, Action::silent, Action::hide}) {
        if (name == actionName(action))
            return action;
    }
    return std::nullopt;
}

std::optional<Rule> parseRule(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const QJsonValue repository = object.value(u"repository");
    const QJsonValue reason = object.value(u"reason");
    const QJsonValue host = object.value(u"host");
    const auto action = actionFromName(object.value(u"action").toString());
    if (!repository.isString() || !validRepository(repository.toString()) || !action)
        return std::nullopt;
    if ((!reason.isUndefined() && !reason.isString()) || (!host.isUndefined() && !host.isString()))
        return std::nullopt;
    Rule rule{.repository = repository.toString(), .action = *action};
    if (reason.isString())
        rule.reason = reason.toString();
    if (host.isString())
        rule.host = host.toString();
    return rule;
}

QJsonObject toJson(const Rule &rule)
{
    QJsonObject object{{QStringLiteral("repository"), rule.repository},
                       {QStringLiteral("action"), actionName(rule.action)}};
    if (rule.reason)
        object.insert(QStringLiteral("reason"), *rule.reason);
    if (rule.host)
        object.insert(QStringLiteral("host"), *rule.host);
    return object;
}

RuleSet parse(const QJsonArray &array)
{
    RuleSet set{.stored = array, .rules = {}};
    for (const QJsonValue &value : array) {
        if (auto rule = parseRule(value))
            set.rules.append(std::move(*rule));
    }
    return set;
}

bool matches(const Rule &rule, const GHNotification &thread, const QString &host)
{
    // GitHub's owner and repository names ignore case; so do host names.
    if (rule.host && rule.host->compare(host, Qt::CaseInsensitive) != 0)
        return false;
    if (rule.reason) {
        const QString reason =
            thread.reasonRaw.isEmpty() ? NotificationReasons::rawValue(thread.reason) : thread.reasonRaw;
        if (*rule.reason != reason)
            return false;
    }
    const QString owner = rule.repository.section(u'/', 0, 0);
    const QString name = rule.repository.section(u'/', 1);
    return owner.compare(thread.owner, Qt::CaseInsensitive) == 0
           && (name == u"*" || name.compare(thread.repo, Qt::CaseInsensitive) == 0);
}

Action actionFor(const QList<Rule> &rules, const GHNotification &thread, const QString &host)
{
    for (const Rule &rule : rules) {
        if (matches(rule, thread, host))
            return rule.action;
    }
    return Action::show;
}

RuleSet current()
{
    return parse(storedArray().value_or(QJsonArray()));
}

void write(const QJsonArray &array)
{
    const QString key = QString::fromLatin1(preferenceKey);
    const QVariant old = PreferencesFile::value(key);
    // Nothing the user wrote is lost: a value that cannot be read as rules
    // is moved aside rather than overwritten.
    if (old.isValid() && !storedArray())
        PreferencesFile::setValue(QString::fromLatin1(unreadableKey), old);
    PreferencesFile::setValue(key, array.toVariantList());
    NoticeCenter::instance().post(QString::fromLatin1(changedNotice));
}

void addRepositoryRule(const QString &repository, Action action, const std::optional<QString> &host)
{
    if (!validRepository(repository))
        return;
    QJsonArray array{toJson({.repository = repository, .host = host, .action = action})};
    for (const QJsonValue &value : current().stored) {
        const auto rule = parseRule(value);
        if (rule && !rule->reason && rule->host == host
            && rule->repository.compare(repository, Qt::CaseInsensitive) == 0)
            continue;
        array.append(value);
    }
    write(array);
}

} // namespace AlertRules
