#include "updates/Appcast.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace Appcast {
namespace {

const QString sparkleNamespace = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

QString readVersionAttribute(const QXmlStreamAttributes &attributes, const QString &name)
{
    return attributes.value(sparkleNamespace, name).toString();
}

AppcastItem readItem(QXmlStreamReader &xml)
{
    AppcastItem item;
    while (xml.readNextStartElement()) {
        const bool sparkle = xml.namespaceUri() == sparkleNamespace;
        const QStringView name = xml.name();
        if (!sparkle && name == u"title") {
            item.title = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (!sparkle && name == u"description") {
            item.description = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (!sparkle && name == u"enclosure") {
            const QXmlStreamAttributes attributes = xml.attributes();
            item.downloadUrl = QUrl(attributes.value(QStringLiteral("url")).toString());
            if (item.version.isEmpty())
                item.version = readVersionAttribute(attributes, QStringLiteral("version"));
            if (item.shortVersionString.isEmpty())
                item.shortVersionString = readVersionAttribute(attributes, QStringLiteral("shortVersionString"));
            xml.skipCurrentElement();
        } else if (sparkle && name == u"version") {
            item.version = xml.readElementText().trimmed();
        } else if (sparkle && name == u"shortVersionString") {
            item.shortVersionString = xml.readElementText().trimmed();
        } else if (sparkle && name == u"channel") {
            item.channel = xml.readElementText().trimmed();
        } else if (sparkle && name == u"releaseNotesLink") {
            item.releaseNotesUrl = QUrl(xml.readElementText().trimmed());
        } else {
            xml.skipCurrentElement();
        }
    }
    return item;
}

} // namespace

std::variant<QList<AppcastItem>, AppcastError> parse(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    QList<AppcastItem> items;
    bool sawRss = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"rss")
            sawRss = true;
        else if (xml.name() == u"item")
            items.append(readItem(xml));
    }
    if (xml.hasError())
        return AppcastError{QStringLiteral("%1 at line %2").arg(xml.errorString()).arg(xml.lineNumber())};
    if (!sawRss)
        return AppcastError{QStringLiteral("not an RSS feed")};
    // An item without a version cannot be compared; it is not an update.
    items.removeIf([](const AppcastItem &item) { return item.version.isEmpty(); });
    return items;
}

int compareVersions(const QString &a, const QString &b)
{
    static const QRegularExpression separators(QStringLiteral("[.\\-+_ ]"));
    const QStringList left = a.split(separators, Qt::SkipEmptyParts);
    const QStringList right = b.split(separators, Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        // Where one version ends, a further number makes the other newer
        // (1.0.1 > 1.0) and a further word older (1.0-beta < 1.0).
        if (i >= left.size() || i >= right.size()) {
            const QString &rest = i >= left.size() ? right[i] : left[i];
            bool restNumeric = false;
            rest.toULongLong(&restNumeric);
            const int longerIsNewer = restNumeric ? 1 : -1;
            return i >= left.size() ? -longerIsNewer : longerIsNewer;
        }
        bool leftNumeric = false, rightNumeric = false;
        const qulonglong l = left[i].toULongLong(&leftNumeric);
        const qulonglong r = right[i].toULongLong(&rightNumeric);
        if (leftNumeric && rightNumeric) {
            if (l != r)
                return l < r ? -1 : 1;
            continue;
        }
        // A number ranks above a word at the same place: 1.0 is newer than 1.0-beta.
        if (leftNumeric != rightNumeric)
            return leftNumeric ? 1 : -1;
        const int text = QString::compare(left[i], right[i], Qt::CaseInsensitive);
        if (text != 0)
            return text < 0 ? -1 : 1;
    }
    return 0;
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QString &currentBuild,
                                        const QStringList &allowedChannels)
{
    std::optional<AppcastItem> best;
    for (const AppcastItem &item : items) {
        if (!item.channel.isEmpty() && !allowedChannels.contains(item.channel))
            continue;
        if (compareVersions(item.version, currentBuild) <= 0)
            continue;
        if (!best || compareVersions(item.version, best->version) > 0)
            best = item;
    }
    return best;
}

} // namespace Appcast
