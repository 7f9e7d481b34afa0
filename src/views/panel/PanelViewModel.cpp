#include "views/panel/PanelViewModel.h"

#include "views/panel/RowText.h"

PanelViewModel::PanelViewModel(QObject *parent) : QObject(parent)
{
}

void PanelViewModel::setStore(NotificationsStore *store)
{
    if (store == m_store)
        return;
    if (m_store)
        m_store->disconnect(this);
    m_store = store;
    if (m_store) {
        connect(m_store, &NotificationsStore::filteredItemsChanged, this, &PanelViewModel::updateRows);
        connect(m_store, &NotificationsStore::isRefreshingChanged, this, [this] {
            updateMiddleArea();
            emit countdownChanged();
        });
        connect(m_store, &NotificationsStore::tokenStatusChanged, this, &PanelViewModel::updateMiddleArea);
        connect(m_store, &NotificationsStore::secondsUntilRefreshChanged, this, &PanelViewModel::countdownChanged);
    }
    updateRows();
    emit storeChanged();
    emit countdownChanged();
}

bool PanelViewModel::showCountdown() const
{
    return m_store && m_store->secondsUntilRefresh() > 0 && !m_store->isRefreshing();
}

QString PanelViewModel::countdownText() const
{
    return m_store ? RowText::countdownText(m_store->secondsUntilRefresh()) : QString();
}

PanelViewModel::MiddleArea PanelViewModel::chooseMiddleArea(TokenState::Status token, bool nothingToShow,
                                                            bool isRefreshing)
{
    if (token == TokenState::Status::Checking || token == TokenState::Status::Unavailable)
        return MiddleArea::Waiting;
    if (token == TokenState::Status::Missing)
        return MiddleArea::TokenRequired;
    // Locked: the threads stay in view while nothing is fetched.
    if (nothingToShow && !isRefreshing)
        return MiddleArea::AllCaughtUp;
    return MiddleArea::List;
}

void PanelViewModel::updateRows()
{
    QList<NotificationEntryModel::Entry> entries;
    if (m_store) {
        for (GHNotification &item : m_store->filteredItems())
            entries.append({std::move(item), QString(), false});
    }
    m_rows.setEntries(std::move(entries));
    updateMiddleArea();
}

void PanelViewModel::updateMiddleArea()
{
    const MiddleArea area = chooseMiddleArea(m_store ? m_store->tokenStatus() : TokenState::Status::Checking,
                                             m_rows.count() == 0, m_store && m_store->isRefreshing());
    if (area == m_middleArea)
        return;
    m_middleArea = area;
    emit middleAreaChanged();
}
