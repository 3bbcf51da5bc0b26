#pragma once
// Numbered controls of one kind built from a rule, as a form file's control
// arrays: the names are a prefix and consecutive numbers (Combo1 ... Combo72),
// the geometry and design of each are computed from its index.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/control.h"

namespace qv {

template <class T>
class ControlArray {
 public:
  // The controls prefix+first ... prefix+(first+count-1); `design(i)` gives
  // the i-th (from 0) its place and design. They join the window in order.
  ControlArray(Form& form, std::string_view prefix, int first, int count,
               const std::function<std::pair<Twips, Design>(int index)>& design)
      : first_(first) {
    items_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      auto [at, d] = design(i);
      items_.push_back(
          std::make_unique<T>(form, std::string(prefix) + std::to_string(first + i), at, d));
    }
  }
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  int size() const { return static_cast<int>(items_.size()); }
  // By position, from 0.
  T& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  // By the number in its name.
  T& number(int n) const { return (*this)[n - first_]; }

  class iterator {
   public:
    using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
    explicit iterator(Inner it) : it_(it) {}
    T& operator*() const { return **it_; }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator&) const = default;

   private:
    Inner it_;
  };
  iterator begin() const { return iterator(items_.begin()); }
  iterator end() const { return iterator(items_.end()); }

 private:
  int first_;
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace qv
