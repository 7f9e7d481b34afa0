#pragma once

#include "model/GHNotification.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QList>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The rows a list view draws: notification rows, and in a grouped list the
// stand-in row of a collapsed group (which keeps its pinned header alive).
// Updates are applied as the smallest insert/remove plus data changes, so
// views keep their scroll position and hover state and can animate.
class NotificationEntryModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the view models")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        ThreadIdRole = Qt::UserRole + 1,
        TitleRole,
        MetaLineRole,
        UnreadRole,
        MutedRole,
        IconNameRole,
        TintColorRole,
        AccessibleNameRole,
        SectionRole,
        IsPlaceholderRole,
        RepositoryRole,
        SnoozedRole,
        CanMarkDoneRole,
    };

    struct Entry {
        GHNotification item;
        QString section;
        bool placeholder = false;
        // Listed in the main window's "Snoozed" filter: the row offers to unsnooze.
        bool snoozed = false;

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_entries.size()); }
    const QList<Entry> &entries() const { return m_entries; }
    void setEntries(QList<Entry> entries);

    // Ages are texts of the moment: the views ask for them again every
    // minute while shown, and when shown.
    Q_INVOKABLE void refreshAges();
    // Tests move the clock.
    void setClockForTesting(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

signals:
    void countChanged();

private:
    QDateTime now() const;

    QList<Entry> m_entries;
    std::function<QDateTime()> m_clock;
};
