<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>APIError</name>
    <message>
        <source>GitHub API error: HTTP %1</source>
        <translation>GitHub-API-Fehler: HTTP %1</translation>
    </message>
    <message>
        <source>GitHub API error (%1): %2</source>
        <translation>GitHub-API-Fehler (%1): %2</translation>
    </message>
    <message>
        <source>Failed to parse GitHub response: %1</source>
        <translation>Die Antwort von GitHub ist unlesbar: %1</translation>
    </message>
    <message>
        <source>No GitHub token found. Please configure in Settings.</source>
        <translation>Kein GitHub-Token gefunden. Bitte in den Einstellungen eintragen.</translation>
    </message>
    <message>
        <source>Invalid API URL</source>
        <translation>Ungültige API-Adresse</translation>
    </message>
    <message>
        <source>Invalid response from GitHub API</source>
        <translation>Ungültige Antwort der GitHub-API</translation>
    </message>
    <message>
        <source>GitHub asked for a pause: no requests until %1</source>
        <translation>GitHub bittet um eine Pause: keine Anfragen bis %1</translation>
    </message>
    <message>
        <source>GitHub API rate limit exceeded. Please try again later.</source>
        <translation>Anfragelimit der GitHub-API überschritten. Bitte später erneut versuchen.</translation>
    </message>
</context>
<context>
    <name>AccountEnrolment</name>
    <message>
        <source>Secure connection to %1 failed: %2</source>
        <translation>Sichere Verbindung zu %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2</source>
        <translation>%1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>Enter a host name, such as ghe.example.com</source>
        <translation>Geben Sie einen Hostnamen ein, etwa ghe.example.com</translation>
    </message>
    <message>
        <source>Enter a token</source>
        <translation>Geben Sie ein Token ein</translation>
    </message>
    <message>
        <source>Fine-grained tokens (github_pat_…) cannot read notifications. Use a classic token with the notifications scope.</source>
        <translation>Feingranulare Tokens (github_pat_…) können keine Benachrichtigungen lesen. Verwenden Sie ein klassisches Token mit dem Bereich notifications.</translation>
    </message>
    <message>
        <source>Invalid token or insufficient permissions</source>
        <translation>Ungültiges Token oder unzureichende Berechtigungen</translation>
    </message>
    <message>
        <source>This token has neither the notifications nor the repo scope</source>
        <translation>Dieses Token hat weder den Bereich notifications noch repo</translation>
    </message>
    <message>
        <source>%1 is added already</source>
        <translation>%1 ist bereits hinzugefügt</translation>
    </message>
    <message>
        <source>%1 names a login that cannot be stored: %2</source>
        <translation>%1 nennt ein Login, das nicht gespeichert werden kann: %2</translation>
    </message>
    <message>
        <source>%1 is the github.com account already</source>
        <translation>%1 ist bereits das github.com-Konto</translation>
    </message>
</context>
<context>
    <name>AccountSession</name>
    <message>
        <source>No token stored for this account. Please add it again in Settings.</source>
        <translation>Für dieses Konto ist kein Token gespeichert. Bitte fügen Sie es in den Einstellungen erneut hinzu.</translation>
    </message>
    <message>
        <source>Cannot mark as unread. GitHub API limitation.</source>
        <translation>Als ungelesen markieren ist nicht möglich. Die GitHub-API erlaubt es nicht.</translation>
    </message>
    <message>
        <source>%1 cannot mark threads as done (it needs GitHub Enterprise Server 3.13 or later)</source>
        <translation>%1 kann Threads nicht als erledigt markieren (dafür ist GitHub Enterprise Server 3.13 oder neuer nötig)</translation>
    </message>
    <message>
        <source>Only part of the list arrived, the rest is as it was: %1</source>
        <translation>Nur ein Teil der Liste ist angekommen, der Rest bleibt, wie er war: %1</translation>
    </message>
</context>
<context>
    <name>AccountsViewModel</name>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbinde…</translation>
    </message>
    <message>
        <source>Added %1 on %2</source>
        <translation>%1 auf %2 hinzugefügt</translation>
    </message>
    <message>
        <source>Failed to delete token: %1</source>
        <translation>Token konnte nicht gelöscht werden: %1</translation>
    </message>
</context>
<context>
    <name>ErrorBanner</name>
    <message>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>GitHubCli</name>
    <message>
        <source>The GitHub CLI (gh) is not installed.</source>
        <translation>Die GitHub CLI (gh) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The GitHub CLI could not be started: %1</source>
        <translation>Die GitHub CLI ließ sich nicht starten: %1</translation>
    </message>
    <message>
        <source>The GitHub CLI did not answer within 10 seconds.</source>
        <translation>Die GitHub CLI hat nicht innerhalb von 10 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>The GitHub CLI gave no token for %1.</source>
        <translation>Die GitHub CLI hat kein Token für %1 geliefert.</translation>
    </message>
    <message>
        <source>The GitHub CLI gave no token: %1</source>
        <translation>Die GitHub CLI hat kein Token geliefert: %1</translation>
    </message>
    <message>
        <source>The GitHub CLI&apos;s answer is not a token.</source>
        <translation>Die Antwort der GitHub CLI ist kein Token.</translation>
    </message>
</context>
<context>
    <name>GroupHeader</name>
    <message>
        <source>Mark %1 as Read (R)</source>
        <translation>%1 als gelesen markieren (R)</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n items, collapsed</source>
        <extracomment>A repository group&apos;s header read aloud: the repository, its number of threads, folded</extracomment>
        <translation>
            <numerusform>%1, %n Eintrag, eingeklappt</numerusform>
            <numerusform>%1, %n Einträge, eingeklappt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %n items, expanded</source>
        <extracomment>A repository group&apos;s header read aloud: the repository, its number of threads, unfolded</extracomment>
        <translation>
            <numerusform>%1, %n Eintrag, ausgeklappt</numerusform>
            <numerusform>%1, %n Einträge, ausgeklappt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>KeychainError</name>
    <message>
        <source>Failed to save token to keychain (status: %1)</source>
        <translation>Token konnte nicht im Schlüsselbund gespeichert werden (Status: %1)</translation>
    </message>
    <message>
        <source>Failed to read token from keychain (status: %1)</source>
        <translation>Token konnte nicht aus dem Schlüsselbund gelesen werden (Status: %1)</translation>
    </message>
    <message>
        <source>Failed to delete token from keychain (status: %1)</source>
        <translation>Token konnte nicht aus dem Schlüsselbund gelöscht werden (Status: %1)</translation>
    </message>
    <message>
        <source>Unexpected data format in keychain</source>
        <translation>Unerwartetes Datenformat im Schlüsselbund</translation>
    </message>
    <message>
        <source>The keyring is locked</source>
        <translation>Der Schlüsselbund ist gesperrt</translation>
    </message>
    <message>
        <source>The keyring is not answering</source>
        <translation>Der Schlüsselbund antwortet nicht</translation>
    </message>
</context>
<context>
    <name>KeyringLockedBanner</name>
    <message>
        <source>The keyring is locked. Quillfen waits until it is unlocked.</source>
        <translation>Der Schlüsselbund ist gesperrt. Quillfen wartet, bis er entsperrt ist.</translation>
    </message>
    <message>
        <source>Unlock Keyring</source>
        <translation>Schlüsselbund entsperren</translation>
    </message>
</context>
<context>
    <name>NetworkAccess</name>
    <message>
        <source>Quillfen is quitting</source>
        <translation>Quillfen wird beendet</translation>
    </message>
    <message>
        <source>The server took too long to answer (over %1 s)</source>
        <translation>Der Server hat zu lange nicht geantwortet (über %1 s)</translation>
    </message>
    <message>
        <source>The answer is larger than %1 MB</source>
        <translation>Die Antwort ist größer als %1 MB</translation>
    </message>
    <message>
        <source>The server did not answer for %1 s</source>
        <translation>Der Server hat %1 s lang nicht geantwortet</translation>
    </message>
</context>
<context>
    <name>NotificationReason</name>
    <message>
        <source>Assigned</source>
        <translation>Zugewiesen</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>Autor</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manuell</translation>
    </message>
    <message>
        <source>Mention</source>
        <translation>Erwähnung</translation>
    </message>
    <message>
        <source>State change</source>
        <translation>Statusänderung</translation>
    </message>
    <message>
        <source>Review requested</source>
        <translation>Review angefragt</translation>
    </message>
    <message>
        <source>Team mention</source>
        <translation>Team-Erwähnung</translation>
    </message>
    <message>
        <source>Subscribed</source>
        <translation>Abonniert</translation>
    </message>
</context>
<context>
    <name>NotificationRowView</name>
    <message>
        <source>Unread</source>
        <extracomment>An adjective: the thread has not been read</extracomment>
        <translation>Ungelesen</translation>
    </message>
    <message>
        <source>Mark Read (R)</source>
        <extracomment>A command: mark the thread as read</extracomment>
        <translation>Als gelesen markieren (R)</translation>
    </message>
    <message>
        <source>Already Read</source>
        <translation>Bereits gelesen</translation>
    </message>
    <message>
        <source>Unmute (M)</source>
        <extracomment>A command: alert for the thread again</extracomment>
        <translation>Stummschaltung aufheben (M)</translation>
    </message>
    <message>
        <source>Mute (M)</source>
        <extracomment>A command: no more alerts for the thread</extracomment>
        <translation>Stummschalten (M)</translation>
    </message>
    <message>
        <source>Done (D)</source>
        <extracomment>A command: mark the thread as done, which takes it off the list</extracomment>
        <translation>Erledigt (D)</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>A command: open the thread in the browser</extracomment>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Mark as Read</source>
        <translation>Als gelesen markieren</translation>
    </message>
    <message>
        <source>Unmute</source>
        <extracomment>A command: alert for the thread again</extracomment>
        <translation>Stummschaltung aufheben</translation>
    </message>
    <message>
        <source>Mute</source>
        <extracomment>A command: no more alerts for the thread</extracomment>
        <translation>Stummschalten</translation>
    </message>
    <message>
        <source>Mark as Done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <source>Unsnooze</source>
        <translation>Nicht mehr zurückstellen</translation>
    </message>
    <message>
        <source>Snooze…</source>
        <translation>Zurückstellen …</translation>
    </message>
    <message>
        <source>Mute alerts for this repository</source>
        <translation>Hinweise für dieses Repository stummschalten</translation>
    </message>
    <message>
        <source>Hide this repository</source>
        <translation>Dieses Repository ausblenden</translation>
    </message>
    <message>
        <source>For 1 Hour</source>
        <translation>Für 1 Stunde</translation>
    </message>
    <message>
        <source>Until Tomorrow Morning</source>
        <translation>Bis morgen früh</translation>
    </message>
    <message>
        <source>Until Next Week</source>
        <translation>Bis nächste Woche</translation>
    </message>
    <message>
        <source>Until Updated</source>
        <translation>Bis zur nächsten Änderung</translation>
    </message>
</context>
<context>
    <name>NotificationsListModel</name>
    <message>
        <source>Any Reason</source>
        <translation>Jeder Grund</translation>
    </message>
    <message>
        <source>Any State</source>
        <translation>Jeder Status</translation>
    </message>
    <message>
        <source>All Accounts</source>
        <translation>Alle Konten</translation>
    </message>
</context>
<context>
    <name>NotificationsListView</name>
    <message>
        <source>Search…</source>
        <translation>Suchen…</translation>
    </message>
    <message>
        <source>Search notifications</source>
        <translation>Benachrichtigungen durchsuchen</translation>
    </message>
    <message>
        <source>Unread</source>
        <extracomment>A filter: show only the threads not yet read</extracomment>
        <translation>Ungelesen</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>Grund: %1</translation>
    </message>
    <message>
        <source>Any Reason</source>
        <translation>Jeder Grund</translation>
    </message>
    <message>
        <source>Group by Repository</source>
        <translation>Nach Repository gruppieren</translation>
    </message>
    <message>
        <source>Flat List</source>
        <translation>Einfache Liste</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Mark All as Read</source>
        <translation>Alle als gelesen markieren</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>State: %1</source>
        <translation>Status: %1</translation>
    </message>
    <message>
        <source>Any State</source>
        <translation>Jeder Status</translation>
    </message>
    <message>
        <source>Hide bot activity</source>
        <translation>Bot-Aktivität ausblenden</translation>
    </message>
    <message>
        <source>Show hidden</source>
        <translation>Ausgeblendete zeigen</translation>
    </message>
    <message>
        <source>Snoozed</source>
        <translation>Zurückgestellt</translation>
    </message>
    <message>
        <source>Waiting for the keyring…</source>
        <translation>Warte auf den Schlüsselbund…</translation>
    </message>
    <message>
        <source>Account: %1</source>
        <translation>Konto: %1</translation>
    </message>
    <message>
        <source>All Accounts</source>
        <translation>Alle Konten</translation>
    </message>
</context>
<context>
    <name>NotificationsMenuPanel</name>
    <message>
        <source>Search…</source>
        <translation>Suchen…</translation>
    </message>
    <message>
        <source>Search notifications</source>
        <translation>Benachrichtigungen durchsuchen</translation>
    </message>
    <message>
        <source>Mark All as Read</source>
        <translation>Alle als gelesen markieren</translation>
    </message>
    <message>
        <source>Unread only</source>
        <translation>Nur ungelesene</translation>
    </message>
    <message>
        <source>Unread</source>
        <extracomment>A filter: show only the threads not yet read</extracomment>
        <translation>Ungelesen</translation>
    </message>
    <message>
        <source>GitHub Token Required</source>
        <translation>GitHub-Token erforderlich</translation>
    </message>
    <message>
        <source>Add your GitHub token in Settings to view notifications</source>
        <translation>Tragen Sie Ihr GitHub-Token in den Einstellungen ein, um Benachrichtigungen zu sehen</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>All Caught Up!</source>
        <translation>Alles erledigt!</translation>
    </message>
    <message>
        <source>You have no notifications</source>
        <translation>Sie haben keine Benachrichtigungen</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Open Window</source>
        <translation>Fenster öffnen</translation>
    </message>
    <message>
        <source>Refresh in %1</source>
        <translation>Aktualisierung in %1</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Waiting for the keyring…</source>
        <translation>Warte auf den Schlüsselbund…</translation>
    </message>
    <message>
        <source>Unlock your keyring if your desktop asks for it</source>
        <translation>Entsperren Sie Ihren Schlüsselbund, wenn der Desktop danach fragt</translation>
    </message>
</context>
<context>
    <name>NotificationsStore</name>
    <message>
        <source>Open</source>
        <extracomment>Alert button, a verb: open the thread in the browser</extracomment>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Mark as Read</source>
        <translation>Als gelesen markieren</translation>
    </message>
    <message>
        <source>New GitHub Notifications</source>
        <translation>Neue GitHub-Benachrichtigungen</translation>
    </message>
    <message>
        <source>Show</source>
        <extracomment>Alert button, a verb: show the new threads in the panel</extracomment>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>No token available. Please configure in Settings.</source>
        <translation>Kein Token vorhanden. Bitte in den Einstellungen eintragen.</translation>
    </message>
    <message numerus="yes">
        <source>%n new notifications</source>
        <extracomment>Body of the alert for two or more new threads</extracomment>
        <translation>
            <numerusform>%n neue Benachrichtigung</numerusform>
            <numerusform>%n neue Benachrichtigungen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>OtherAccountsSection</name>
    <message>
        <source>Other accounts</source>
        <translation>Weitere Konten</translation>
    </message>
    <message>
        <source>More GitHub accounts, on github.com or a GitHub Enterprise Server, in the same list.</source>
        <translation>Weitere GitHub-Konten, auf github.com oder einem GitHub Enterprise Server, in derselben Liste.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove %1 on %2</source>
        <translation>%1 auf %2 entfernen</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Token for the account</source>
        <translation>Token für das Konto</translation>
    </message>
    <message>
        <source>Add Account</source>
        <translation>Konto hinzufügen</translation>
    </message>
    <message>
        <source>Use the GitHub CLI&apos;s token</source>
        <translation>Token der GitHub CLI verwenden</translation>
    </message>
</context>
<context>
    <name>QuietSettingsModel</name>
    <message>
        <source>Show</source>
        <extracomment>What a rule does with matching threads: alert as usual</extracomment>
        <translation>Zeigen</translation>
    </message>
    <message>
        <source>Silent</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Hide</source>
        <extracomment>What a rule does with matching threads: leave them out of the lists</extracomment>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Any Reason</source>
        <translation>Jeder Grund</translation>
    </message>
</context>
<context>
    <name>QuietSettingsSection</name>
    <message>
        <source>Rules and Quiet Hours</source>
        <translation>Regeln und Ruhezeiten</translation>
    </message>
    <message>
        <source>Silence or hide threads by repository and reason; the first matching rule applies.</source>
        <translation>Threads nach Repository und Grund stummschalten oder ausblenden; die erste passende Regel gilt.</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Remove Rule</source>
        <translation>Regel entfernen</translation>
    </message>
    <message>
        <source>owner/name or owner/*</source>
        <translation>besitzer/name oder besitzer/*</translation>
    </message>
    <message>
        <source>Repository</source>
        <translation>Repository</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Add Rule</source>
        <translation>Regel hinzufügen</translation>
    </message>
    <message>
        <source>Quiet hours</source>
        <translation>Ruhezeiten</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>Quiet from</source>
        <translation>Ruhe ab</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Quiet until</source>
        <translation>Ruhe bis</translation>
    </message>
</context>
<context>
    <name>RowText</name>
    <message>
        <source>Unread. %1</source>
        <translation>Ungelesen. %1</translation>
    </message>
    <message>
        <source>%1, muted</source>
        <translation>%1, stummgeschaltet</translation>
    </message>
    <message>
        <source>by %1</source>
        <translation>von %1</translation>
    </message>
    <message>
        <source>by %1 (bot)</source>
        <translation>von %1 (Bot)</translation>
    </message>
    <message>
        <source>Open</source>
        <extracomment>A thread&apos;s state, an adjective: the issue or pull request is open</extracomment>
        <translation>Offen</translation>
    </message>
    <message>
        <source>Merged</source>
        <translation>Zusammengeführt</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>Draft</source>
        <extracomment>A thread&apos;s state: a draft pull request or issue</extracomment>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>%1s</source>
        <extracomment>Time to the next refresh, under a minute: seconds, abbreviated</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1m %2s</source>
        <extracomment>Time to the next refresh: minutes and seconds, abbreviated</extracomment>
        <translation>%1 min %2 s</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>2 minutes</source>
        <translation>2 Minuten</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 Minuten</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 Minuten</translation>
    </message>
    <message>
        <source>15 minutes</source>
        <translation>15 Minuten</translation>
    </message>
    <message>
        <source>Stable</source>
        <translation>Stabil</translation>
    </message>
    <message>
        <source>Beta</source>
        <translation>Beta</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Auto-Refresh</source>
        <translation>Automatisch aktualisieren</translation>
    </message>
    <message>
        <source>Automatically refresh notifications in the background.</source>
        <translation>Benachrichtigungen im Hintergrund automatisch aktualisieren.</translation>
    </message>
    <message>
        <source>Refresh interval:</source>
        <translation>Aktualisierungsintervall:</translation>
    </message>
    <message>
        <source>Refresh interval</source>
        <translation>Aktualisierungsintervall</translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Only threads I take part in</source>
        <translation>Nur Themen, an denen ich beteiligt bin</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Get notified when new GitHub notifications arrive.</source>
        <translation>Benachrichtigt werden, wenn neue GitHub-Benachrichtigungen eintreffen.</translation>
    </message>
    <message>
        <source>Enable notifications</source>
        <translation>Benachrichtigungen aktivieren</translation>
    </message>
    <message>
        <source>Play sound</source>
        <translation>Ton abspielen</translation>
    </message>
    <message>
        <source>Notifications are disabled in System Settings</source>
        <translation>Benachrichtigungen sind in den Systemeinstellungen deaktiviert</translation>
    </message>
    <message>
        <source>Send Test Notification</source>
        <translation>Testbenachrichtigung senden</translation>
    </message>
    <message>
        <source>App Updates</source>
        <translation>App-Aktualisierungen</translation>
    </message>
    <message>
        <source>Automatically check for Quillfen updates.</source>
        <translation>Automatisch nach Quillfen-Aktualisierungen suchen.</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Automatically check for updates</source>
        <translation>Automatisch nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>Update channel:</source>
        <translation>Aktualisierungskanal:</translation>
    </message>
    <message>
        <source>Update channel</source>
        <translation>Aktualisierungskanal</translation>
    </message>
    <message>
        <source>Beta builds include the latest features but may be less stable.</source>
        <translation>Beta-Versionen enthalten die neuesten Funktionen, sind aber möglicherweise weniger stabil.</translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation>Nach Aktualisierungen suchen</translation>
    </message>
    <message>
        <source>GitHub Personal Access Token</source>
        <translation>Persönliches GitHub-Zugriffstoken</translation>
    </message>
    <message>
        <source>Quillfen needs a GitHub token to fetch your notifications.</source>
        <translation>Quillfen braucht ein GitHub-Token, um Ihre Benachrichtigungen abzurufen.</translation>
    </message>
    <message>
        <source>Hide token</source>
        <translation>Token verbergen</translation>
    </message>
    <message>
        <source>Show token</source>
        <translation>Token anzeigen</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>Verbindung testen</translation>
    </message>
    <message>
        <source>Save Token</source>
        <translation>Token speichern</translation>
    </message>
    <message>
        <source>Delete Token</source>
        <translation>Token löschen</translation>
    </message>
    <message>
        <source>How to create a token:</source>
        <translation>So erstellen Sie ein Token:</translation>
    </message>
    <message>
        <source>Go to GitHub Settings &gt; Developer settings &gt; Personal access tokens &gt; Tokens (classic)</source>
        <translation>Öffnen Sie auf GitHub Settings &gt; Developer settings &gt; Personal access tokens &gt; Tokens (classic)</translation>
    </message>
    <message>
        <source>Click &apos;Generate new token (classic)&apos;</source>
        <translation>Klicken Sie auf „Generate new token (classic)“</translation>
    </message>
    <message>
        <source>Select scope: notifications (required)</source>
        <translation>Wählen Sie den Bereich „notifications“ (erforderlich)</translation>
    </message>
    <message>
        <source>Copy the token and paste it above</source>
        <translation>Kopieren Sie das Token und fügen Sie es oben ein</translation>
    </message>
    <message>
        <source>Open GitHub Token Page</source>
        <translation>GitHub-Token-Seite öffnen</translation>
    </message>
    <message>
        <source>Saving your first token turns on desktop notifications for new threads, unless you chose otherwise under Notifications.</source>
        <translation>Mit dem ersten gespeicherten Token werden Desktop-Benachrichtigungen für neue Threads eingeschaltet, sofern Sie unter „Benachrichtigungen“ nichts anderes gewählt haben.</translation>
    </message>
    <message>
        <source>Use the GitHub CLI&apos;s token</source>
        <translation>Token der GitHub CLI verwenden</translation>
    </message>
</context>
<context>
    <name>SettingsViewModel</name>
    <message>
        <source>Update available: %1</source>
        <translation>Aktualisierung verfügbar: %1</translation>
    </message>
    <message>
        <source>You&apos;re up to date!</source>
        <translation>Quillfen ist auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>Update check failed: %1</source>
        <translation>Suche nach Aktualisierungen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Failed to change start at login: %1</source>
        <translation>Start bei der Anmeldung konnte nicht geändert werden: %1</translation>
    </message>
    <message>
        <source>Test Notification</source>
        <translation>Testbenachrichtigung</translation>
    </message>
    <message>
        <source>Notifications are working correctly!</source>
        <translation>Benachrichtigungen funktionieren!</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message>
        <source>Token is currently saved in keychain</source>
        <translation>Das Token ist im Schlüsselbund gespeichert</translation>
    </message>
    <message>
        <source>Failed to save token: %1</source>
        <translation>Token konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Token saved successfully!</source>
        <translation>Token gespeichert!</translation>
    </message>
    <message>
        <source>Failed to delete token: %1</source>
        <translation>Token konnte nicht gelöscht werden: %1</translation>
    </message>
    <message>
        <source>Token deleted successfully</source>
        <translation>Token gelöscht</translation>
    </message>
    <message>
        <source>Testing connection...</source>
        <translation>Verbindung wird getestet...</translation>
    </message>
    <message>
        <source>Connection failed: %1</source>
        <translation>Verbindung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Connection successful! Token is valid.</source>
        <translation>Verbindung erfolgreich! Das Token ist gültig.</translation>
    </message>
    <message>
        <source>Invalid token or insufficient permissions</source>
        <translation>Ungültiges Token oder unzureichende Berechtigungen</translation>
    </message>
    <message>
        <source>Asking the GitHub CLI for its token...</source>
        <translation>Die GitHub CLI wird nach ihrem Token gefragt...</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Quillfen Settings</source>
        <translation>Quillfen-Einstellungen</translation>
    </message>
</context>
<context>
    <name>SparkleUpdaterService</name>
    <message>
        <source>Quillfen %1 is available</source>
        <translation>Quillfen %1 ist verfügbar</translation>
    </message>
    <message>
        <source>Click to see what is new.</source>
        <translation>Klicken, um die Neuerungen zu sehen.</translation>
    </message>
    <message>
        <source>Show</source>
        <extracomment>Alert button, a verb: show the release found</extracomment>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>StatusCommand</name>
    <message>
        <source>Quillfen is not running.</source>
        <translation>Quillfen läuft nicht.</translation>
    </message>
    <message>
        <source>Quillfen stopped answering.</source>
        <translation>Quillfen antwortet nicht mehr.</translation>
    </message>
    <message>
        <source>Quillfen is running but not answering.</source>
        <translation>Quillfen läuft, antwortet aber nicht.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Show Notifications</source>
        <translation>Benachrichtigungen anzeigen</translation>
    </message>
    <message numerus="yes">
        <source>Show Notifications (%n)</source>
        <translation>
            <numerusform>Benachrichtigungen anzeigen (%n)</numerusform>
            <numerusform>Benachrichtigungen anzeigen (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Open Window</source>
        <translation>Fenster öffnen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quillfen: %1 unread</source>
        <translation>Quillfen: %1 ungelesen</translation>
    </message>
    <message>
        <source>%1: %2 unread</source>
        <translation>%1: %2 ungelesen</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>Quillfen Update</source>
        <translation>Quillfen-Aktualisierung</translation>
    </message>
    <message>
        <source>Quillfen %1 is available</source>
        <translation>Quillfen %1 ist verfügbar</translation>
    </message>
    <message>
        <source>You have %1.</source>
        <translation>Installiert ist %1.</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Open Download Page</source>
        <translation>Download-Seite öffnen</translation>
    </message>
</context>
</TS>
