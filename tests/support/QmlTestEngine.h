#pragma once

class QQmlEngine;

// The QML engine as the application sets it up: Fusion style, the Quillfen
// module and the symbol image provider.
void prepareQmlEngine(QQmlEngine &engine);
