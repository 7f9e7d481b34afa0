#pragma once

#include "store/NotificationsStore.h"
#include "views/panel/NotificationEntryModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// What the drop-down panel shows, derived from the store and its token
// status: the middle area, the rows, and the countdown text.
class PanelViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(NotificationsStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(NotificationEntryModel *rows READ rows CONSTANT)
    Q_PROPERTY(MiddleArea middleArea READ middleArea NOTIFY middleAreaChanged)
    Q_PROPERTY(bool showCountdown READ showCountdown NOTIFY countdownChanged)
    Q_PROPERTY(QString countdownText READ countdownText NOTIFY countdownChanged)

public:
    // Waiting: the secret store has not answered yet, or is failing.
    enum class MiddleArea { Waiting, TokenRequired, AllCaughtUp, List };
    Q_ENUM(MiddleArea)

    explicit PanelViewModel(QObject *parent = nullptr);

    NotificationsStore *store() const { return m_store; }
    void setStore(NotificationsStore *store);
    NotificationEntryModel *rows() { return &m_rows; }
    MiddleArea middleArea() const { return m_middleArea; }
    bool showCountdown() const;
    QString countdownText() const;

    static MiddleArea chooseMiddleArea(TokenState::Status token, bool nothingToShow, bool isRefreshing);

signals:
    void storeChanged();
    void middleAreaChanged();
    void countdownChanged();

private:
    void updateRows();
    void updateMiddleArea();

    QPointer<NotificationsStore> m_store;
    NotificationEntryModel m_rows;
    MiddleArea m_middleArea = MiddleArea::Waiting;
};
