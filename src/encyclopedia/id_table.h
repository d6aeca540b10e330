// A value for each id of a kind (team, league, player), read by id with the
// bounds checked: an id never set, and any id outside 0..kMaxId, reads as
// the table's "none" value.
#pragma once

#include <utility>
#include <vector>

namespace statcrane {

template <typename T, int kMaxId>
class IdTable {
 public:
  explicit IdTable(T none = T{}) : entries_(kMaxId + 1, none), none_(std::move(none)) {}

  const T& operator[](int id) const { return id >= 0 && id <= kMaxId ? entries_[id] : none_; }
  // REQUIRES: 0 <= id <= kMaxId (std::out_of_range otherwise).
  void Set(int id, T value) { entries_.at(id) = std::move(value); }

 private:
  std::vector<T> entries_;
  T none_;
};

}  // namespace statcrane
