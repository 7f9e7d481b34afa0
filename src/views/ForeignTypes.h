#pragma once

#include "store/NotificationsStore.h"

#include <QObject>
#include <QtQml/qqml.h>

// The store is known to QML as a type views take as a property; the
// application creates the one instance.
struct NotificationsStoreForeign {
    Q_GADGET
    QML_FOREIGN(NotificationsStore)
    QML_NAMED_ELEMENT(NotificationsStore)
    QML_UNCREATABLE("The application creates the one store")
};

// The token status the store reports, for its enumeration.
struct TokenStateForeign {
    Q_GADGET
    QML_FOREIGN(TokenState)
    QML_NAMED_ELEMENT(TokenState)
    QML_UNCREATABLE("The secret store's answer, reported by the store")
};
