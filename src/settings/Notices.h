#pragma once

// Names of the in-process notices.
namespace Notices {

inline constexpr char refreshIntervalChanged[] = "refreshIntervalChanged";
inline constexpr char updateChannelChanged[] = "updateChannelChanged";
// The participating-only preference changed: the list is fetched again.
inline constexpr char participatingOnlyChanged[] = "participatingOnlyChanged";
// An account was added or removed in the "accounts" preference.
inline constexpr char accountsChanged[] = "accountsChanged";

} // namespace Notices
