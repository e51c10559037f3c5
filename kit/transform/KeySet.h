#pragma once
#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace VoziZazIreTransform {

// The member names an object allows, asked once per member of every object read. The names are few
// and short: grouped by length, a question compares the key with the handful of names of its length
// (the names are string literals and outlive the set).
class KeySet {
 public:
  KeySet(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
      if (name.size() >= byLength_.size()) byLength_.resize(name.size() + 1);
      byLength_[name.size()].push_back(name);
    }
  }

  bool contains(std::string_view key) const noexcept {
    if (key.size() >= byLength_.size()) return false;
    for (std::string_view name : byLength_[key.size()])
      if (name == key) return true;
    return false;
  }

 private:
  std::vector<std::vector<std::string_view>> byLength_;
};

}  // namespace VoziZazIreTransform
