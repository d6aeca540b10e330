// A list that is filled completely, then read in sorted order by position.
//
// Items are ordered by a key text under the list collation: letters compared
// without regard to case (and accented Latin letters as their base letter);
// a space and a comma before the digits, the digits before the letters;
// a text that is a prefix of another comes first; equal keys keep the order
// in which they were added.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace statcrane {

// <0, 0 or >0 as `a` sorts before, together with or after `b`. Both are UTF-8.
int CompareListText(std::string_view a, std::string_view b);

// The key folded to the text that CompareListText compares byte by byte.
std::string ListCollationKey(std::string_view text);

struct NoPayload {};

template <typename Payload = NoPayload>
class SortedWorkList {
 public:
  void Add(std::string key, Payload payload = {}) {
    items_.push_back(Item{ListCollationKey(key), std::move(key), std::move(payload)});
    sorted_ = false;
  }
  void Clear() {
    items_.clear();
    sorted_ = true;
  }
  size_t Count() const { return items_.size(); }
  // Position i (from 0) of the sorted list.
  const std::string& TextAt(size_t i) const { return Sorted()[i].text; }
  const Payload& At(size_t i) const { return Sorted()[i].payload; }

 private:
  struct Item {
    std::string folded;
    std::string text;
    Payload payload;
  };
  const std::vector<Item>& Sorted() const {
    if (!sorted_) {
      std::stable_sort(items_.begin(), items_.end(),
                       [](const Item& a, const Item& b) { return a.folded < b.folded; });
      sorted_ = true;
    }
    return items_;
  }
  mutable std::vector<Item> items_;
  mutable bool sorted_ = true;
};

}  // namespace statcrane
