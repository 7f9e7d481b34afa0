#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

// In-process notices: a name with an optional value. Posting is allowed from
// any thread; observers always receive notices on the main thread, after the
// poster's current step has finished.
class NoticeCenter : public QObject {
    Q_OBJECT

public:
    static NoticeCenter &instance();

    void post(const QString &name, const QVariant &value = {});

    // The observation ends when `context` is destroyed; the centre holds no
    // other reference to the observer.
    QMetaObject::Connection observe(const QString &name, const QObject *context,
                                    std::function<void(const QVariant &)> handler);

signals:
    void posted(const QString &name, const QVariant &value);

private:
    NoticeCenter() = default;
};
