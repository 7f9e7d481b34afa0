#pragma once

#include <QByteArray>

// A notifications body of `count` threads shaped like GitHub's own answers,
// spread over a few dozen repositories and every subject kind.
QByteArray notificationsBody(int count);
