#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The kind of object a thread is about. Raw values are snake case.
enum class SubjectType {
    issue,
    pull_request,
    release,
    discussion,
    commit,
    security_alert,
};

namespace SubjectTypes {

// Exact, case-sensitive match against the raw values.
std::optional<SubjectType> fromRawValue(QStringView raw);
QString rawValue(SubjectType type);
// Symbol identifier of the row icon; the views map it to a drawn glyph.
QString iconName(SubjectType type);
QColor tintColor(SubjectType type);
const std::array<SubjectType, 6> &allCases();

} // namespace SubjectTypes
