#include "platform/NoticeCenter.h"

#include <QCoreApplication>

NoticeCenter &NoticeCenter::instance()
{
    static NoticeCenter *center = [] {
        auto *created = new NoticeCenter;
        // Lives on the main thread whoever asks first, and goes with the application.
        if (QCoreApplication *app = QCoreApplication::instance()) {
            created->moveToThread(app->thread());
            created->setParent(app);
        }
        return created;
    }();
    return *center;
}

void NoticeCenter::post(const QString &name, const QVariant &value)
{
    emit posted(name, value);
}

QMetaObject::Connection NoticeCenter::observe(const QString &name, const QObject *context,
                                              std::function<void(const QVariant &)> handler)
{
    // Queued: delivered on the context's (main) thread in a later step.
    return connect(
        this, &NoticeCenter::posted, context,
        [name, handler = std::move(handler)](const QString &postedName, const QVariant &value) {
            if (postedName == name)
                handler(value);
        },
        Qt::QueuedConnection);
}
