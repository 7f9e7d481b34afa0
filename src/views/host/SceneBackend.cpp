#include "views/host/SceneBackend.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>

namespace {

Q_LOGGING_CATEGORY(lcScene, "quillfen.scene", QtWarningMsg)

bool hardwareOpenGL()
{
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return false;
    const auto *renderer = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray name = QByteArray(renderer).toLower();
    context.doneCurrent();
    qCInfo(lcScene, "OpenGL renderer: %s", renderer ? renderer : "none");
    return !name.isEmpty() && !name.contains("llvmpipe") && !name.contains("softpipe") && !name.contains("software");
}

} // namespace

void SceneBackend::choose()
{
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        return;
    if (!hardwareOpenGL())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
