#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "kit/core/TextServices.h"

namespace VoziZazIreCore {

// A map from string keys to values that keeps the order in which keys were first inserted (document
// order). Keys are matched by canonical equivalence, so a key written composed and one written
// decomposed are the same key. Maps of more than a handful of entries keep a hash index.
template <class V>
class OrderedMap {
 public:
  using Entry = std::pair<std::string, V>;
  using const_iterator = typename std::vector<Entry>::const_iterator;
  using iterator = typename std::vector<Entry>::iterator;

  OrderedMap() = default;
  OrderedMap(const OrderedMap& other) : entries_(other.entries_), nonAscii_(other.nonAscii_) {
    if (other.index_) buildIndex();
  }
  OrderedMap(OrderedMap&&) noexcept = default;
  OrderedMap& operator=(const OrderedMap& other) {
    if (this != &other) {
      entries_ = other.entries_;
      nonAscii_ = other.nonAscii_;
      index_.reset();
      if (other.index_) buildIndex();
    }
    return *this;
  }
  OrderedMap& operator=(OrderedMap&&) noexcept = default;
  OrderedMap(std::initializer_list<Entry> entries) {
    for (const auto& e : entries) insertOrAssign(e.first, e.second);
  }

  // Inserts a new entry at the end, or replaces the value of an equal key in place (the first
  // position is kept). Returns true when the key was new.
  bool insertOrAssign(std::string key, V value) {
    if (auto i = indexOf(key); i != npos) {
      entries_[i].second = std::move(value);
      return false;
    }
    appendUnchecked(std::move(key), std::move(value));
    return true;
  }

  // Appends without looking for an equal key; the caller knows the key is new.
  void appendUnchecked(std::string key, V value) {
    if (!nonAscii_ && !TextServices::isAscii(key)) nonAscii_ = true;
    entries_.emplace_back(std::move(key), std::move(value));
    if (entries_.size() == kIndexThreshold + 1) {
      buildIndex();
    } else if (entries_.size() > kIndexThreshold + 1) {
      index_->emplace(normalised(entries_.back().first), static_cast<uint32_t>(entries_.size() - 1));
    }
  }

  const V* find(std::string_view key) const {
    auto i = indexOf(key);
    return i == npos ? nullptr : &entries_[i].second;
  }
  V* find(std::string_view key) {
    auto i = indexOf(key);
    return i == npos ? nullptr : &entries_[i].second;
  }
  bool contains(std::string_view key) const { return indexOf(key) != npos; }

  std::size_t size() const noexcept { return entries_.size(); }
  bool empty() const noexcept { return entries_.empty(); }
  const_iterator begin() const noexcept { return entries_.begin(); }
  const_iterator end() const noexcept { return entries_.end(); }
  iterator begin() noexcept { return entries_.begin(); }
  iterator end() noexcept { return entries_.end(); }
  const std::vector<Entry>& entries() const noexcept { return entries_; }
  void reserve(std::size_t n) { entries_.reserve(n); }
  void clear() {
    entries_.clear();
    index_.reset();
    nonAscii_ = false;
  }

  // Keys in ascending code-point order of their canonically normalised text.
  std::vector<std::string> sortedKeys() const {
    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (const auto& e : entries_) keys.push_back(e.first);
    std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
      return TextServices::canonicalCompare(a, b) < 0;
    });
    return keys;
  }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // Position of the entry whose key is canonically equal to `key`, or npos.
  std::size_t indexOf(std::string_view key) const {
    if (index_) {
      if (!nonAscii_ || TextServices::isAscii(key)) {
        auto it = index_->find(key);
        if (it != index_->end()) return it->second;
        if (!nonAscii_) return npos;
      }
      auto it = index_->find(std::string_view(TextServices::toNFC(key)));
      return it == index_->end() ? npos : it->second;
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].first == key) return i;
    if (nonAscii_ || !TextServices::isAscii(key)) {
      for (std::size_t i = 0; i < entries_.size(); ++i)
        if (TextServices::canonicallyEqual(entries_[i].first, key)) return i;
    }
    return npos;
  }

 private:
  static constexpr std::size_t kIndexThreshold = 8;

  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };

  std::string normalised(const std::string& key) const { return nonAscii_ ? TextServices::toNFC(key) : key; }

  void buildIndex() {
    index_ = std::make_unique<Index>();
    index_->reserve(entries_.size() * 2);
    for (std::size_t i = 0; i < entries_.size(); ++i)
      index_->emplace(normalised(entries_[i].first), static_cast<uint32_t>(i));
  }

  using Index = std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>>;
  std::vector<Entry> entries_;
  // Built once the map outgrows a linear scan; absent for small maps.
  std::unique_ptr<Index> index_;
  bool nonAscii_ = false;
};

}  // namespace VoziZazIreCore
