#pragma once

#include <QString>
#include <QVariant>

// What Quillfen remembers of its own doing, apart from the user's settings
// (when it last looked for an update, which release it announced):
// $XDG_STATE_HOME/quillfen/state.json. A file that cannot be read counts as
// empty; writes replace the file whole.
namespace StateFile {

QString path();

QVariant value(const QString &key);
void setValue(const QString &key, const QVariant &value);

} // namespace StateFile
