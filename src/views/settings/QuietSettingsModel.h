#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The settings of what may alert: the rules editor and the quiet hours.
// Reads and writes the preferences directly; the store follows the rules'
// notice and reads the quiet hours at each alert.
class QuietSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // Each rule as {repository, reason, host, action, label}; reason and host
    // are empty when the rule names none.
    Q_PROPERTY(QVariantList rules READ rules NOTIFY rulesChanged)
    // {label, value} for the reason box: any reason first, then raw values.
    Q_PROPERTY(QVariantList reasonChoices READ reasonChoices CONSTANT)
    Q_PROPERTY(QVariantList actionChoices READ actionChoices CONSTANT)
    Q_PROPERTY(bool quietHoursEnabled READ quietHoursEnabled WRITE setQuietHoursEnabled NOTIFY quietHoursChanged)
    // "HH:mm"
    Q_PROPERTY(QString quietFrom READ quietFrom WRITE setQuietFrom NOTIFY quietHoursChanged)
    Q_PROPERTY(QString quietTo READ quietTo WRITE setQuietTo NOTIFY quietHoursChanged)
    // 1 (Monday) to 7.
    Q_PROPERTY(QList<int> quietDays READ quietDays NOTIFY quietHoursChanged)
    // Short day names, Monday first, in the user's language.
    Q_PROPERTY(QStringList dayNames READ dayNames CONSTANT)

public:
    explicit QuietSettingsModel(QObject *parent = nullptr);

    QVariantList rules() const;
    QVariantList reasonChoices() const;
    QVariantList actionChoices() const;
    bool quietHoursEnabled() const;
    void setQuietHoursEnabled(bool enabled);
    QString quietFrom() const;
    void setQuietFrom(const QString &time);
    QString quietTo() const;
    void setQuietTo(const QString &time);
    QList<int> quietDays() const;
    QStringList dayNames() const;

    // Appends a rule; false when the repository is not "owner/name" or "owner/*".
    Q_INVOKABLE bool addRule(const QString &repository, const QString &reason, const QString &action);
    // By position in `rules`; elements that are not rules stay where they are.
    Q_INVOKABLE void removeRule(int index);
    Q_INVOKABLE void moveRuleUp(int index);
    Q_INVOKABLE void toggleDay(int day);

signals:
    void rulesChanged();
    void quietHoursChanged();
};
