#pragma once

#include "store/NotificationsStore.h"
#include "views/panel/ListGrouping.h"
#include "views/panel/NotificationEntryModel.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The main window's list: its own filters (independent of the panel's), a
// flat list newest first or repository groups, and the collapsed groups.
// Created with the window and discarded with it.
class NotificationsListModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(NotificationsStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(NotificationEntryModel *rows READ rows CONSTANT)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY filterChanged)
    Q_PROPERTY(bool showUnreadOnly READ showUnreadOnly WRITE setShowUnreadOnly NOTIFY filterChanged)
    // Index into reasonNames, or -1 for any reason.
    Q_PROPERTY(int selectedReason READ selectedReason WRITE setSelectedReason NOTIFY filterChanged)
    Q_PROPERTY(QString reasonLabel READ reasonLabel NOTIFY filterChanged)
    Q_PROPERTY(QStringList reasonNames READ reasonNames CONSTANT)
    // Index into stateNames (open, merged, closed, draft), or -1 for any state.
    Q_PROPERTY(int selectedState READ selectedState WRITE setSelectedState NOTIFY filterChanged)
    Q_PROPERTY(QString stateLabel READ stateLabel NOTIFY filterChanged)
    Q_PROPERTY(QStringList stateNames READ stateNames CONSTANT)
    Q_PROPERTY(bool hideBotActivity READ hideBotActivity WRITE setHideBotActivity NOTIFY filterChanged)
    // Threads that rules hide are listed too.
    Q_PROPERTY(bool showHidden READ showHidden WRITE setShowHidden NOTIFY filterChanged)
    // Only the snoozed threads; otherwise they are left out.
    Q_PROPERTY(bool showSnoozed READ showSnoozed WRITE setShowSnoozed NOTIFY filterChanged)
    Q_PROPERTY(bool groupByRepo READ groupByRepo WRITE setGroupByRepo NOTIFY groupByRepoChanged)
    Q_PROPERTY(QStringList collapsedRepos READ collapsedRepos NOTIFY collapsedReposChanged)
    Q_PROPERTY(QVariantMap groupCounts READ groupCounts NOTIFY groupCountsChanged)
    // The accounts by name, the first account first; empty while there is only one.
    Q_PROPERTY(QStringList accountNames READ accountNames NOTIFY accountNamesChanged)
    // Index into accountNames, or -1 for every account.
    Q_PROPERTY(int selectedAccount READ selectedAccount WRITE setSelectedAccount NOTIFY filterChanged)
    Q_PROPERTY(QString accountLabel READ accountLabel NOTIFY filterChanged)

public:
    explicit NotificationsListModel(QObject *parent = nullptr);

    NotificationsStore *store() const { return m_store; }
    void setStore(NotificationsStore *store);
    NotificationEntryModel *rows() { return &m_rows; }

    const QString &searchText() const { return m_filter.searchText; }
    void setSearchText(const QString &text);
    bool showUnreadOnly() const { return m_filter.unreadOnly; }
    void setShowUnreadOnly(bool unreadOnly);
    int selectedReason() const;
    void setSelectedReason(int index);
    QString reasonLabel() const;
    QStringList reasonNames() const;
    int selectedState() const;
    void setSelectedState(int index);
    QString stateLabel() const;
    QStringList stateNames() const;
    bool hideBotActivity() const { return m_filter.details.hideBotActivity; }
    void setHideBotActivity(bool hide);
    bool showHidden() const { return m_showHidden; }
    void setShowHidden(bool show);
    bool showSnoozed() const { return m_showSnoozed; }
    void setShowSnoozed(bool show);
    bool groupByRepo() const { return m_groupByRepo; }
    void setGroupByRepo(bool group);
    QStringList collapsedRepos() const;
    QVariantMap groupCounts() const { return m_groupCounts; }

    QStringList accountNames() const;
    int selectedAccount() const;
    void setSelectedAccount(int index);
    QString accountLabel() const;
    // The list being looked at: every account's, or the chosen account's.
    Q_INVOKABLE void markAllAsRead();
    // A group's threads, of the account looked at, or of every account.
    Q_INVOKABLE void markRepositoryAsRead(const QString &repoFullName);

    Q_INVOKABLE void toggleCollapsed(const QString &key);
    Q_INVOKABLE bool isCollapsed(const QString &key) const { return m_collapsed.contains(key); }

signals:
    void storeChanged();
    void filterChanged();
    void groupByRepoChanged();
    void collapsedReposChanged();
    void groupCountsChanged();
    void accountNamesChanged();

private:
    // The store's threads this list may show: rules and snoozes applied.
    QList<GHNotification> shownThreads() const;
    void rebuild();

    QPointer<NotificationsStore> m_store;
    NotificationEntryModel m_rows;
    ListGrouping::Filter m_filter;
    bool m_showHidden = false;
    bool m_showSnoozed = false;
    bool m_groupByRepo = true;
    QSet<QString> m_collapsed;
    QVariantMap m_groupCounts;
    // The chosen account's key ("" for the first); absent for every account.
    std::optional<QString> m_account;
};
