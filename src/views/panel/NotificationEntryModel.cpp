#include "views/panel/NotificationEntryModel.h"

#include "views/panel/RowText.h"
#include "views/panel/SubjectStateStyle.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

bool darkPalette()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

QString identity(const NotificationEntryModel::Entry &entry)
{
    return entry.placeholder ? QStringLiteral("collapsed:") + entry.section
                             : entry.item.key() + QStringLiteral("@") + entry.section;
}

} // namespace

int NotificationEntryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant NotificationEntryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry &entry = m_entries.at(index.row());
    const GHNotification &item = entry.item;
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return item.title;
    case ThreadIdRole:
        return item.key();
    // The age is read from the clock each time a row is drawn.
    case MetaLineRole:
        return RowText::metaLine(item, now());
    case UnreadRole:
        return item.unread;
    case MutedRole:
        return item.muted;
    // The subject's state, once known, takes the icon and its colour.
    case IconNameRole:
        return item.details ? SubjectStateStyle::iconName(item.subjectType, item.details->state)
                            : SubjectTypes::iconName(item.subjectType);
    case TintColorRole:
        return item.details ? SubjectStateStyle::tint(item.subjectType, item.details->state, darkPalette())
                            : SubjectTypes::tintColor(item.subjectType);
    case Qt::AccessibleTextRole:
    case AccessibleNameRole:
        return RowText::accessibleName(item, now());
    case SectionRole:
        return entry.section;
    case IsPlaceholderRole:
        return entry.placeholder;
    case RepositoryRole:
        return item.repoFullName();
    case SnoozedRole:
        return entry.snoozed;
    case CanMarkDoneRole:
        return item.account.canMarkDone;
    default:
        return {};
    }
}

QHash<int, QByteArray> NotificationEntryModel::roleNames() const
{
    return {
        {ThreadIdRole, "threadId"},
        {TitleRole, "title"},
        {MetaLineRole, "metaLine"},
        {UnreadRole, "unread"},
        {MutedRole, "muted"},
        {IconNameRole, "iconName"},
        {TintColorRole, "tintColor"},
        {AccessibleNameRole, "accessibleName"},
        {SectionRole, "section"},
        {IsPlaceholderRole, "isPlaceholder"},
        {RepositoryRole, "repository"},
        {SnoozedRole, "snoozed"},
        {CanMarkDoneRole, "canMarkDone"},
    };
}

QDateTime NotificationEntryModel::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTimeUtc();
}

void NotificationEntryModel::refreshAges()
{
    // A change of data only: views keep hover, selection and scroll position.
    if (!m_entries.isEmpty())
        emit dataChanged(index(0), index(int(m_entries.size()) - 1), {MetaLineRole, AccessibleNameRole});
}

void NotificationEntryModel::setEntries(QList<Entry> next)
{
    const qsizetype oldSize = m_entries.size();
    const qsizetype newSize = next.size();
    qsizetype prefix = 0;
    while (prefix < oldSize && prefix < newSize && identity(m_entries[prefix]) == identity(next[prefix]))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldSize - prefix && suffix < newSize - prefix
           && identity(m_entries[oldSize - 1 - suffix]) == identity(next[newSize - 1 - suffix]))
        ++suffix;

    const qsizetype removed = oldSize - prefix - suffix;
    const qsizetype inserted = newSize - prefix - suffix;
    if (removed > 0) {
        beginRemoveRows({}, int(prefix), int(prefix + removed - 1));
        m_entries.remove(prefix, removed);
        endRemoveRows();
    }
    if (inserted > 0) {
        beginInsertRows({}, int(prefix), int(prefix + inserted - 1));
        for (qsizetype i = 0; i < inserted; ++i)
            m_entries.insert(prefix + i, next[prefix + i]);
        endInsertRows();
    }
    // Rows that kept their place may still have changed (read, muted, title).
    for (qsizetype row = 0; row < newSize; ++row) {
        if (!(m_entries[row] == next[row])) {
            m_entries[row] = next[row];
            emit dataChanged(index(int(row)), index(int(row)));
        }
    }
    if (removed != inserted)
        emit countChanged();
}
