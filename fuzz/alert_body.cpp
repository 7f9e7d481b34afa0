// The body of a desktop alert for servers that read markup: whatever a
// title or repository name holds, the only markup is the bold subtitle the
// escaper adds, and the text reads back unchanged.

#include "FuzzTarget.h"

#include "platform/DesktopNotifications.h"

#include <QRegularExpression>

namespace {

// Undoes exactly the escaping of QString::toHtmlEscaped.
QString unescaped(QString text)
{
    FUZZ_EXPECT(!text.contains(u'<') && !text.contains(u'>') && !text.contains(u'"'));
    static const QRegularExpression ampersand(QStringLiteral("&(?!(amp|lt|gt|quot);)"));
    FUZZ_EXPECT(!text.contains(ampersand));
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The input is "subtitle\0body"; without a NUL there is no subtitle.
    const QByteArray input = fuzzBytes(data, size);
    const qsizetype split = input.indexOf('\0');
    DesktopNotification alert;
    alert.title = QStringLiteral("title");
    alert.body = QString::fromUtf8(split < 0 ? input : input.sliced(split + 1));
    if (split >= 0)
        alert.subtitle = QString::fromUtf8(input.first(split));

    const QString body = DesktopNotifications::bodyText(alert, true);
    if (!alert.subtitle) {
        FUZZ_EXPECT(unescaped(body) == alert.body);
        return 0;
    }
    const QLatin1StringView open("<b>"), close("</b>\n");
    FUZZ_EXPECT(body.startsWith(open));
    // The escaped subtitle has no '<', so the first "</b>" is the one added.
    const qsizetype end = body.indexOf(close);
    FUZZ_EXPECT(end >= 0);
    FUZZ_EXPECT(unescaped(body.sliced(open.size(), end - open.size())) == *alert.subtitle);
    FUZZ_EXPECT(unescaped(body.sliced(end + close.size())) == alert.body);
    FUZZ_EXPECT(DesktopNotifications::bodyText(alert, false) == *alert.subtitle + u'\n' + alert.body);
    return 0;
}
