#include "updates/UpdateChecker.h"

#include "platform/NetworkAccess.h"
#include "platform/Diagnostics.h"
#include "platform/StateFile.h"

#include <QPointer>

#include <algorithm>

namespace {

const QString lastCheckKey = QStringLiteral("lastUpdateCheck");

} // namespace

UpdateChecker::UpdateChecker(UpdaterDelegate *delegate, QString currentBuild, QObject *parent)
    : QObject(parent), m_delegate(delegate), m_currentBuild(std::move(currentBuild))
{
    connect(&m_schedule, &QTimer::timeout, this, &UpdateChecker::checkIfDue);
}

QDateTime UpdateChecker::lastCheck()
{
    return QDateTime::fromString(StateFile::value(lastCheckKey).toString(), Qt::ISODate);
}

void UpdateChecker::checkIfDue()
{
    // Wall-clock time, kept across restarts: a suspended machine or a short
    // session does not put the next check off.
    m_schedule.start(recheckPeriod);
    const QDateTime last = lastCheck();
    if (!last.isValid() || last.secsTo(QDateTime::currentDateTimeUtc()) >= m_interval.count())
        checkForUpdatesInBackground();
}

std::chrono::milliseconds UpdateChecker::retryDelay() const
{
    const int doublings = std::clamp(m_failuresInARow - 1, 0, 5);
    return std::min<std::chrono::milliseconds>(firstRetryDelay * (1 << doublings), recheckPeriod);
}

void UpdateChecker::setAutomaticallyChecksForUpdates(bool automatic)
{
    m_automatic = automatic;
    reschedule();
}

void UpdateChecker::setUpdateCheckInterval(std::chrono::seconds interval)
{
    m_interval = interval;
    reschedule();
}

void UpdateChecker::reschedule()
{
    if (!m_automatic) {
        m_schedule.stop();
        return;
    }
    // Shortly after start, then every so often: is a check due?
    if (!m_schedule.isActive())
        m_schedule.start(firstLookDelay);
}

void UpdateChecker::checkForUpdates()
{
    check(true);
}

void UpdateChecker::checkForUpdatesInBackground()
{
    check(false);
}

QCoro::Task<> UpdateChecker::check(bool userInitiated)
{
    // A check the user asks for while one runs is answered by that one.
    m_userWaiting = m_userWaiting || userInitiated;
    if (m_checking)
        co_return;
    m_checking = true;
    QPointer<UpdateChecker> self(this);

    QNetworkRequest request{QUrl(m_delegate->feedURLString())};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // A feed is a few kilobytes.
    const NetworkAccess::Response response =
        co_await NetworkAccess::send(std::move(request), QByteArrayLiteral("GET"), {}, {1024 * 1024, m_idleTimeout});
    if (!self)
        co_return;

    m_checking = false;
    userInitiated = std::exchange(m_userWaiting, false);
    const int status = response.status.value_or(0);
    std::optional<QString> failure;
    QList<AppcastItem> items;
    if (status < 200 || status > 299) {
        failure = response.failed() ? response.failure : QStringLiteral("HTTP %1").arg(status);
    } else {
        auto parsed = Appcast::parse(response.body);
        if (const auto *error = std::get_if<AppcastError>(&parsed))
            failure = QStringLiteral("the update feed is unreadable: ") + error->description;
        else
            items = std::move(std::get<QList<AppcastItem>>(parsed));
    }
    if (failure) {
        Diagnostics::print(QStringLiteral("Update check failed: ") + *failure);
        // Not the day's check: offline at start is tried again soon, less
        // often the longer it lasts.
        ++m_failuresInARow;
        if (m_automatic)
            m_schedule.start(retryDelay());
        m_delegate->didFailToCheck(*failure, userInitiated);
        co_return;
    }
    m_failuresInARow = 0;
    StateFile::setValue(lastCheckKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    m_delegate->didFinishLoadingAppcast();
    const auto update = Appcast::newestUpdate(items, m_currentBuild, m_delegate->allowedChannels());
    if (update)
        m_delegate->didFindValidUpdate(*update, userInitiated);
    else
        m_delegate->didNotFindUpdate(userInitiated);
}
