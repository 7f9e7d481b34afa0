#pragma once

#include <QObject>
#include <QString>

// Optional parts of the application that are loaded only when first needed
// (the windows, the audio stack), so an idle tray maps none of their
// libraries. They live in the application's private library folder.
namespace Plugins {

// The folder the application's own plugins are installed in.
QString directory();

// The plugin's root object, loaded once and kept for the rest of the run;
// null, with a diagnostic, when it cannot be loaded.
QObject *instance(const QString &baseName);

} // namespace Plugins
