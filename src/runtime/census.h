#pragma once
// Live object counts, so long-running tests can see that nothing piles up.

namespace qv::census {
inline int forms = 0;
inline int controls = 0;
inline int timers = 0;
inline int observers = 0;
}  // namespace qv::census
