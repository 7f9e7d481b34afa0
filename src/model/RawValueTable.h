#pragma once

#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>

// Shared lookups over the constant tables that describe each closed
// classification: every row has a `value` (the enum case) and its `raw` text,
// in declaration order.
namespace RawValueTable {

template<typename Row, std::size_t N> auto fromRaw(const std::array<Row, N> &table, QStringView raw)
    -> std::optional<decltype(Row::value)>
{
    const auto found =
        std::find_if(table.begin(), table.end(), [raw](const Row &row) { return raw == QStringView(row.raw); });
    if (found == table.end())
        return std::nullopt;
    return found->value;
}

template<typename Row, std::size_t N> constexpr auto cases(const std::array<Row, N> &table)
{
    std::array<decltype(Row::value), N> result{};
    for (std::size_t i = 0; i < N; ++i)
        result[i] = table[i].value;
    return result;
}

} // namespace RawValueTable
