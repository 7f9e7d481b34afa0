#pragma once

#include "model/GHNotification.h"

#include <QList>

// The seven fixed threads shown when no token is stored. Built on first use
// from one base time taken then; identical on every later call.
const QList<GHNotification> &sampleNotifications();
