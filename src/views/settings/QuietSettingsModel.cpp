#include "views/settings/QuietSettingsModel.h"

#include "model/NotificationReason.h"
#include "platform/NoticeCenter.h"
#include "store/AlertRules.h"
#include "store/QuietHours.h"

#include <QJsonObject>
#include <QLocale>

namespace {

// Positions in the stored array of the elements that read as rules.
QList<qsizetype> rulePositions(const QJsonArray &stored)
{
    QList<qsizetype> positions;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (AlertRules::parseRule(stored.at(i)))
            positions.append(i);
    }
    return positions;
}

QString actionLabel(AlertRules::Action action)
{
    switch (action) {
    //: What a rule does with matching threads: alert as usual
    case AlertRules::Action::show:
        return QuietSettingsModel::tr("Show");
    case AlertRules::Action::silent:
        return QuietSettingsModel::tr("Silent");
    //: What a rule does with matching threads: leave them out of the lists
    case AlertRules::Action::hide:
        return QuietSettingsModel::tr("Hide");
    }
    return {};
}

void editWindow(const std::function<void(QuietHours::Window &)> &edit)
{
    QuietHours::Window window = QuietHours::current();
    edit(window);
    QuietHours::write(window);
}

} // namespace

QuietSettingsModel::QuietSettingsModel(QObject *parent) : QObject(parent)
{
    // Rules also change from a row's menu while Settings is open.
    NoticeCenter::instance().observe(QString::fromLatin1(AlertRules::changedNotice), this,
                                     [this](const QVariant &) { emit rulesChanged(); });
}

QVariantList QuietSettingsModel::rules() const
{
    QVariantList list;
    for (const AlertRules::Rule &rule : AlertRules::current().rules) {
        QString label = rule.repository;
        if (rule.reason)
            label += QStringLiteral(" \u00b7 ") + *rule.reason;
        if (rule.host)
            label += QStringLiteral(" \u00b7 ") + *rule.host;
        list.append(QVariantMap{{QStringLiteral("repository"), rule.repository},
                                {QStringLiteral("reason"), rule.reason.value_or(QString())},
                                {QStringLiteral("host"), rule.host.value_or(QString())},
                                {QStringLiteral("action"), AlertRules::actionName(rule.action)},
                                {QStringLiteral("label"), tr("%1: %2").arg(actionLabel(rule.action), label)}});
    }
    return list;
}

QVariantList QuietSettingsModel::reasonChoices() const
{
    QVariantList choices{
        QVariantMap{{QStringLiteral("label"), tr("Any Reason")}, {QStringLiteral("value"), QString()}}};
    QStringList raw;
    for (NotificationReason reason : NotificationReasons::allCases())
        raw.append(NotificationReasons::rawValue(reason));
    // Reasons GitHub sends beyond the nine the rows name.
    raw << QStringLiteral("ci_activity") << QStringLiteral("security_alert") << QStringLiteral("approval_requested")
        << QStringLiteral("invitation");
    for (const QString &value : std::as_const(raw))
        choices.append(QVariantMap{{QStringLiteral("label"), value}, {QStringLiteral("value"), value}});
    return choices;
}

QVariantList QuietSettingsModel::actionChoices() const
{
    QVariantList choices;
    for (AlertRules::Action action : {AlertRules::Action::silent, AlertRules::Action::hide, AlertRules::Action::show})
        choices.append(QVariantMap{{QStringLiteral("label"), actionLabel(action)},
                                   {QStringLiteral("value"), AlertRules::actionName(action)}});
    return choices;
}

bool QuietSettingsModel::addRule(const QString &repository, const QString &reason, const QString &action)
{
    QJsonObject object{{QStringLiteral("repository"), repository.trimmed()}, {QStringLiteral("action"), action}};
    if (!reason.isEmpty())
        object.insert(QStringLiteral("reason"), reason);
    if (!AlertRules::parseRule(object))
        return false;
    QJsonArray stored = AlertRules::current().stored;
    stored.append(object);
    AlertRules::write(stored);
    return true;
}

void QuietSettingsModel::removeRule(int index)
{
    QJsonArray stored = AlertRules::current().stored;
    const QList<qsizetype> positions = rulePositions(stored);
    if (index < 0 || index >= positions.size())
        return;
    stored.removeAt(positions.at(index));
    AlertRules::write(stored);
}

void QuietSettingsModel::moveRuleUp(int index)
{
    QJsonArray stored = AlertRules::current().stored;
    const QList<qsizetype> positions = rulePositions(stored);
    if (index < 1 || index >= positions.size())
        return;
    const QJsonValue moved = stored.at(positions.at(index));
    stored[positions.at(index)] = stored.at(positions.at(index - 1));
    stored[positions.at(index - 1)] = moved;
    AlertRules::write(stored);
}

bool QuietSettingsModel::quietHoursEnabled() const
{
    return QuietHours::current().enabled;
}

void QuietSettingsModel::setQuietHoursEnabled(bool enabled)
{
    editWindow([enabled](QuietHours::Window &window) { window.enabled = enabled; });
    emit quietHoursChanged();
}

QString QuietSettingsModel::quietFrom() const
{
    return QuietHours::current().from.toString(u"HH:mm");
}

void QuietSettingsModel::setQuietFrom(const QString &time)
{
    const QTime from = QTime::fromString(time, u"HH:mm");
    if (from.isValid())
        editWindow([from](QuietHours::Window &window) { window.from = from; });
    emit quietHoursChanged();
}

QString QuietSettingsModel::quietTo() const
{
    return QuietHours::current().to.toString(u"HH:mm");
}

void QuietSettingsModel::setQuietTo(const QString &time)
{
    const QTime to = QTime::fromString(time, u"HH:mm");
    if (to.isValid())
        editWindow([to](QuietHours::Window &window) { window.to = to; });
    emit quietHoursChanged();
}

QList<int> QuietSettingsModel::quietDays() const
{
    return QuietHours::current().days;
}

QStringList QuietSettingsModel::dayNames() const
{
    QStringList names;
    for (int day = 1; day <= 7; ++day)
        names.append(QLocale().standaloneDayName(day, QLocale::ShortFormat));
    return names;
}

void QuietSettingsModel::toggleDay(int day)
{
    if (day < 1 || day > 7)
        return;
    editWindow([day](QuietHours::Window &window) {
        if (!window.days.removeOne(day)) {
            window.days.append(day);
            std::sort(window.days.begin(), window.days.end());
        }
    });
    emit quietHoursChanged();
}
