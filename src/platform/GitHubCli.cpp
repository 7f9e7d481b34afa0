#include "platform/GitHubCli.h"

#include <QCoreApplication>
#include <QCoro/QCoroProcess>
#include <QProcess>
#include <QStandardPaths>

#include <chrono>

using namespace std::chrono_literals;

namespace GitHubCli {
namespace {

QString said(const char *text)
{
    return QCoreApplication::translate("GitHubCli", text);
}

} // namespace

bool isInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("gh")).isEmpty();
}

QCoro::Task<std::variant<QString, Failure>> token(QString host)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("gh"));
    if (program.isEmpty())
        co_return Failure{said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI (gh) is not installed."))};
    QProcess gh;
    // Nothing to answer: a CLI that asks for input gets none.
    gh.setStandardInputFile(QProcess::nullDevice());
    // Made before the co_await: GCC 12 cannot keep a braced list across one.
    const QStringList arguments{QStringLiteral("auth"), QStringLiteral("token"), QStringLiteral("--hostname"), host};
    const bool started = co_await qCoro(gh).start(program, arguments, QIODevice::ReadOnly);
    if (!started)
        co_return Failure{
            said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI could not be started: %1")).arg(gh.errorString())};
    if (!co_await qCoro(gh).waitForFinished(10s)) {
        gh.kill();
        gh.waitForFinished(1000);
        co_return Failure{said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI did not answer within 10 seconds."))};
    }
    const QString error = QString::fromUtf8(gh.readAllStandardError()).simplified();
    const QString token = QString::fromUtf8(gh.readAllStandardOutput()).trimmed();
    if (gh.exitStatus() != QProcess::NormalExit || gh.exitCode() != 0 || token.isEmpty()) {
        co_return Failure{error.isEmpty()
                              ? said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI gave no token for %1.")).arg(host)
                              : said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI gave no token: %1")).arg(error)};
    }
    // One line of printable characters, or it is not a token.
    if (token.contains(u'\n') || token.contains(u' '))
        co_return Failure{said(QT_TRANSLATE_NOOP("GitHubCli", "The GitHub CLI's answer is not a token."))};
    co_return token;
}

} // namespace GitHubCli
