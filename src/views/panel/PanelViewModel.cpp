#include "views/panel/PanelViewModel.h"

#include "credentials/KeychainManager.h"
#include "views/panel/RowText.h"

PanelViewModel::PanelViewModel(QObject *parent) : QObject(parent), m_tokenCheck(&KeychainManager::hasToken)
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
            // A refresh ending is when a token saved meanwhile first shows.
            if (!m_store->isRefreshing())
                m_hasToken = m_tokenCheck();
            updateMiddleArea();
            emit countdownChanged();
        });
        connect(m_store, &NotificationsStore::secondsUntilRefreshChanged, this, &PanelViewModel::countdownChanged);
    }
    m_hasToken = m_tokenCheck();
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

PanelViewModel::MiddleArea PanelViewModel::chooseMiddleArea(bool hasToken, bool nothingToShow, bool isRefreshing)
{
    if (!hasToken)
        return MiddleArea::TokenRequired;
    if (nothingToShow && !isRefreshing)
        return MiddleArea::AllCaughtUp;
    return MiddleArea::List;
}

void PanelViewModel::recheckToken()
{
    m_hasToken = m_tokenCheck();
    updateMiddleArea();
}

void PanelViewModel::setTokenCheck(std::function<bool()> check)
{
    m_tokenCheck = std::move(check);
    recheckToken();
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
    const MiddleArea area =
        chooseMiddleArea(m_hasToken, m_rows.count() == 0, m_store && m_store->isRefreshing());
    if (area == m_middleArea)
        return;
    m_middleArea = area;
    emit middleAreaChanged();
}
