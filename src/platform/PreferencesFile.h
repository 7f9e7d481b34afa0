#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// The per-user preferences file: flat keys in a JSON object under the XDG
// config folder, so an integer stays an integer and a string a string.
// Every write is flushed at once. A file that cannot be parsed is renamed
// aside (never overwritten) and the defaults apply.
namespace PreferencesFile {

QString path();

QVariant value(const QString &key);
void setValue(const QString &key, const QVariant &value);

// Tests point this at a file of their own.
void setPathForTesting(const QString &path);

} // namespace PreferencesFile
