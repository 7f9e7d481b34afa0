#pragma once

#include "store/NotificationsStore.h"
#include "views/panel/NotificationEntryModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>

// What the drop-down panel shows, derived from the store and from whether a
// token is stored: the middle area, the rows, and the countdown text.
class PanelViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(NotificationsStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(NotificationEntryModel *rows READ rows CONSTANT)
    Q_PROPERTY(MiddleArea middleArea READ middleArea NOTIFY middleAreaChanged)
    Q_PROPERTY(bool showCountdown READ showCountdown NOTIFY countdownChanged)
    Q_PROPERTY(QString countdownText READ countdownText NOTIFY countdownChanged)

public:
    enum class MiddleArea { TokenRequired, AllCaughtUp, List };
    Q_ENUM(MiddleArea)

    explicit PanelViewModel(QObject *parent = nullptr);

    NotificationsStore *store() const { return m_store; }
    void setStore(NotificationsStore *store);
    NotificationEntryModel *rows() { return &m_rows; }
    MiddleArea middleArea() const { return m_middleArea; }
    bool showCountdown() const;
    QString countdownText() const;

    static MiddleArea chooseMiddleArea(bool hasToken, bool nothingToShow, bool isRefreshing);

    // The panel asks again whenever it is shown: the token may have been
    // saved or deleted in the meantime.
    Q_INVOKABLE void recheckToken();

    // Tests replace the keychain check.
    void setTokenCheck(std::function<bool()> check);

signals:
    void storeChanged();
    void middleAreaChanged();
    void countdownChanged();

private:
    void updateRows();
    void updateMiddleArea();

    QPointer<NotificationsStore> m_store;
    NotificationEntryModel m_rows;
    MiddleArea m_middleArea = MiddleArea::TokenRequired;
    bool m_hasToken = false;
    std::function<bool()> m_tokenCheck;
};
