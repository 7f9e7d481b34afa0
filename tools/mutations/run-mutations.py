#!/usr/bin/env python3
"""Applies hand-made faults to the production code one at a time, rebuilds,
runs the suite and reports whether it failed (caught) or passed (missed).
Run it on a copy of the tree (git worktree add): it edits the sources.
  tools/mutations/run-mutations.py <source tree> <build dir>"""
import subprocess, sys, pathlib
root = pathlib.Path(sys.argv[1]); build = sys.argv[2]
MUTATIONS = [
 ("news on a thread already listed raises no alert", "src/store/ThreadMerge.cpp",
  "if (merged.unread && (old == byId.cend() || thread.updatedAt > (*old)->updatedAt))",
  "if (merged.unread && old == byId.cend())"),
 ("the user's refresh revalidates, and misses what was read on the web", "src/store/ListFreshness.cpp",
  "    case Fetch::asked:\n    case Fetch::reconnected:\n        return true;",
  "    case Fetch::asked:\n    case Fetch::reconnected:\n        return false;"),
 ("a list cut short kept for revalidation", "src/api/GitHubAPIClient.cpp",
  "        cache.forget(cacheKey);\n", "        cache.store(cacheKey, fresh);\n"),
 ("a list cut short taken for the whole list", "src/store/AccountSession.cpp",
  "const bool partial = list.paging != Paging::whole;", "const bool partial = false;"),
 ("an alert about the same thread does not replace the last", "src/platform/DesktopNotifications.cpp",
  "shown.replaced(notification.about)", "uint(0)"),
 ("a woken snooze alerts twice", "src/store/NotificationAlerts.cpp",
  "&& std::none_of(newThreads.cbegin(), newThreads.cend(), alerting)", "&& alerting(thread)"),
 ("thread path left unescaped", "src/api/ApiPaths.cpp",
  "return QString::fromLatin1(QUrl::toPercentEncoding(name));", "return name;"),
 ("token sent over plain http to any host", "src/api/GitHubAPIClient.cpp",
  "    if (url.scheme() != u\"http\")\n        return false;", "    if (url.scheme() != u\"http\")\n        return false;\n    return true;"),
 ("one page fewer than GitHub's Link header offers", "src/api/GitHubAPIClient.cpp",
  "for (int page = 0; page < maxPages; ++page) {", "for (int page = 1; page < maxPages; ++page) {"),
 ("Retry-After ignored", "src/api/RequestPacing.cpp",
  "if (const auto retryAfter = seconds(header(headers, \"retry-after\")))", "if (const auto retryAfter = seconds(header(headers, \"x-retry-after-never\")))"),
 ("read and unread swapped", "src/api/Conversion.cpp",
  ".unread = thread.unread,", ".unread = !thread.unread,"),
 ("date-time offset sign flipped", "src/api/WireDecoding.cpp",
  "(sign == u'-' ? -1 : 1);", "(sign == u'-' ? 1 : -1);"),
 ("alert body not escaped for markup servers", "src/platform/DesktopNotifications.cpp",
  "return markup ? text.toHtmlEscaped() : text;", "return text;"),
 ("open guard accepts any scheme", "src/api/Conversion.cpp",
  "return url.isValid() && url.scheme() == u\"https\" && url.host() == webRoot.host()", "return url.isValid() && url.host() == webRoot.host()"),
 ("Link header: next relation not required", "src/api/LinkHeader.cpp",
  "if (type.compare(\"next\", Qt::CaseInsensitive) == 0)", "if (!type.isEmpty())"),
 ("beta releases offered on the stable channel", "src/updates/SparkleUpdaterService.cpp",
  "if (Preferences::updateChannel() == u\"beta\")", "if (true)"),
 ("token saved trimmed", "src/views/settings/SettingsViewModel.cpp",
  "runSave(m_tokenInput);", "runSave(m_tokenInput.trimmed());"),
 ("later pages revalidated with page 1's headers", "src/api/GitHubAPIClient.cpp",
  "        pageRequest = request;\n        pageRequest.setUrl(*next);", "        pageRequest.setUrl(*next);"),
 ("mark all as read up to now, not to the newest activity shown", "src/store/AccountSessionActions.cpp",
  "        if (!lastReadAt.isValid() || thread.updatedAt > lastReadAt)\n            lastReadAt = thread.updatedAt;\n",
  "        lastReadAt = QDateTime::currentDateTimeUtc();\n"),
 ("token read back as Latin-1", "src/credentials/KeychainManager.cpp",
  "QString token = decoder.decode(bytes);", "QString token = QString::fromLatin1(bytes);"),
 ("panel always below the icon, even at the bottom of the screen", "src/views/PanelPlacement.h",
  "const bool below = anchor.y() < screenArea.center().y();", "const bool below = true;"),
 ("a fetch goes out within GitHub's poll interval", "src/store/AccountSession.cpp",
  "if (const QDateTime earliest = earliestFetch(); earliest.isValid()) {", "if (const QDateTime earliest = earliestFetch(); false) {"),
 ("autostart opens a window at login", "src/platform/Autostart_xdg.cpp",
  "+ \" --background\\n\"", "+ \"\\n\""),
 ("a refused mute is not rolled back", "src/store/AccountSessionActions.cpp",
  "m_items[at].muted = previous;", "m_items[at].muted = !previous;"),
 ("participating-only not asked of GitHub", "src/api/GitHubAPIClient.cpp",
  "path += QStringLiteral(\"&participating=true\");", "path += QString();"),
 ("the panel's size is not fixed: tiling compositors tile it", "src/views/qml/PanelWindow.qml",
  "    maximumWidth: width\n    minimumHeight: height\n    maximumHeight: height\n", ""),
 ("a tray that comes later is never told of the icon", "src/shell/tray/StatusNotifierItem.cpp",
  "                else\n                    registerWithWatcher();", "                else\n                    setShown(true);"),
 ("a dismissed unlock prompt reads as no token", "src/credentials/SecretStoreBackend_libsecret.cpp",
  "if (after && after->outcome == Outcome::locked)", "if (false)"),
 ("details asked again for a thread that did not change", "src/store/SubjectDetailsFetcher.cpp",
  "if (known && known->updatedAt == thread.updatedAt && known->subjectUrl == *thread.subject.url)", "if (known && false)"),
 ("the last matching rule wins", "src/store/AlertRules.cpp",
  "    for (const Rule &rule : rules) {\n        if (matches(rule, thread, host))\n            return rule.action;\n    }\n    return Action::show;",
  "    Action found = Action::show;\n    for (const Rule &rule : rules) {\n        if (matches(rule, thread, host))\n            found = rule.action;\n    }\n    return found;"),
 ("snoozed threads counted in the badge", "src/store/NotificationsStore.cpp",
  "return thread.unread && isListed(thread); }", "return thread.unread && ruleAction(thread) != AlertRules::Action::hide; }"),
 ("a snooze filed under the bare thread id, shared by every host", "src/store/Snoozes.cpp",
  "m_snoozes.insert(thread.key(),", "m_snoozes.insert(thread.id,"),
 ("an account's details asked of the client's base URL", "src/store/AccountSession.cpp",
  "m_details.follow(list.threads, m_digest, access());",
  "m_details.follow(list.threads, m_digest, {GitHubAPIClient::baseUrl(), m_token});"),
 ("a refused mark-read is not rolled back", "src/store/AccountSessionActions.cpp",
  "            thread.unread = true;\n            restored = true;", "            restored = true;"),
 ("snoozes settle for the first account only", "src/store/NotificationAlerts.cpp",
  "m_snoozes.settle(session->items(), accountKey);",
  "accountKey.isEmpty() ? m_snoozes.settle(session->items()) : QStringList();"),
 ("alerts judged by the rules of github.com whatever the thread's host", "src/store/NotificationAlerts.cpp",
  "alerting.removeIf([this](const GHNotification &thread) { return ruleAction(thread) != AlertRules::Action::show; });",
  "alerting.removeIf([](const GHNotification &thread) {\n        return AlertRules::actionFor(AlertRules::current().rules, thread) != AlertRules::Action::show;\n    });"),
 ("any refused Done withdraws it", "src/store/AccountSessionActions.cpp",
  "if (refusesDone(error) && !m_host.isGitHubCom())", "if (!m_host.isGitHubCom())"),
]
results = []
for name, path, old, new in MUTATIONS:
    f = root / path
    text = f.read_text()
    assert text.count(old) == 1, (path, old)
    f.write_text(text.replace(old, new))
    try:
        built = subprocess.run(["cmake", "--build", build], capture_output=True).returncode == 0
        if not built:
            verdict = "caught (does not build)"
        else:
            run = subprocess.run(["ctest", "--test-dir", build, "--parallel", "2", "-E", "lazy_views|single_instance|accessibility"],
                                 capture_output=True, text=True)
            listed = run.stdout.split("The following tests FAILED:")[-1].splitlines()
            failed = [l.split(" - ")[1].split(" ")[0] for l in listed if " - " in l]
            verdict = ("caught by " + ", ".join(failed)) if run.returncode else "MISSED"
    finally:
        f.write_text(text)
    print(f"{name}: {verdict}", flush=True)
    results.append(verdict)
subprocess.run(["cmake", "--build", build], capture_output=True)
sys.exit(1 if any(v == "MISSED" for v in results) else 0)
