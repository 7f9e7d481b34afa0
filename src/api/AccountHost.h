#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Where an account lives: github.com, or a GitHub Enterprise Server named by
// its host and, when not the default, its port ("ghe.example.com",
// "ghe.example.com:8443"), as the "accounts" preference stores it.
class AccountHost {
public:
    // What a user types or the preference holds: "ghe.example.com",
    // "https://ghe.example.com/", "api.github.com" (github.com). Absent for
    // anything that does not name a host alone.
    static std::optional<AccountHost> parse(const QString &text);

    // The stored form: "github.com", "host" or "host:port".
    const QString &name() const { return m_name; }
    bool isGitHubCom() const { return m_name == u"github.com"; }
    // 127.0.0.1, ::1 or localhost: spoken to over http.
    bool isLoopback() const { return m_loopback; }

    // https://api.github.com (the client's base URL), else
    // https://<host>/api/v3; no trailing slash.
    QString apiBase() const;
    // https://github.com/, else https://<host>/; one trailing slash.
    QString webRoot() const;
    // Whether `url` is a page of this host's web site: its scheme, host and
    // port, no user info.
    bool isWebPage(const QUrl &url) const;

    friend bool operator==(const AccountHost &, const AccountHost &) = default;

private:
    AccountHost(QString name, bool loopback) : m_name(std::move(name)), m_loopback(loopback) { }
    QString scheme() const { return m_loopback ? QStringLiteral("http") : QStringLiteral("https"); }

    QString m_name;
    bool m_loopback = false;
};
