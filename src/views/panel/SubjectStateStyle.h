#pragma once

#include "model/SubjectDetails.h"
#include "model/SubjectType.h"

#include <QColor>
#include <QString>

// How a row's icon shows its subject's state: GitHub's own glyphs, and its
// colours in a light and a dark variant.
namespace SubjectStateStyle {

// The symbol identifier for a pull request (`pull_request`) or an issue
// (every other type) in this state.
QString iconName(SubjectType type, SubjectState state);

QColor tint(SubjectType type, SubjectState state, bool darkBackground);

} // namespace SubjectStateStyle
