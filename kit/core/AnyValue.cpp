#include "kit/core/AnyValue.h"

#include <bit>
#include <cmath>
#include <functional>

#include "kit/core/HashCombine.h"
#include "kit/core/TextServices.h"

namespace VoziZazIreCore {

AnyValue::Kind AnyValue::kind() const noexcept {
  switch (storage_.index()) {
    case 0: return Kind::bool_;
    case 1: return Kind::int_;
    case 2: return Kind::double_;
    case 3: return Kind::string;
    case 4: return Kind::array;
    case 5: return Kind::object;
    default: return Kind::null;
  }
}

std::optional<bool> AnyValue::boolValue() const noexcept {
  if (auto* b = std::get_if<bool>(&storage_)) return *b;
  return std::nullopt;
}

std::optional<int64_t> AnyValue::intValue() const noexcept {
  if (auto* i = std::get_if<int64_t>(&storage_)) return *i;
  return std::nullopt;
}

std::optional<double> AnyValue::doubleValue() const noexcept {
  if (auto* d = std::get_if<double>(&storage_)) return *d;
  if (auto* i = std::get_if<int64_t>(&storage_)) return static_cast<double>(*i);
  return std::nullopt;
}

bool AnyValue::hasNestedContainers() const noexcept {
  auto isContainer = [](const AnyValue& v) {
    if (auto* a = v.arrayValue()) return !a->empty();
    if (auto* o = v.objectValue()) return !o->empty();
    return false;
  };
  if (auto* a = arrayValue()) {
    for (const auto& c : *a)
      if (isContainer(c)) return true;
  } else if (auto* o = objectValue()) {
    for (const auto& e : *o)
      if (isContainer(e.second)) return true;
  }
  return false;
}

AnyValue::~AnyValue() {
  if (hasNestedContainers()) destroyDeep();
}

void AnyValue::destroyDeep() noexcept {
  // Move every nested container onto a heap stack so that no destructor recurses.
  std::vector<AnyValue> pending;
  auto detach = [&pending](AnyValue& v) {
    if (auto* a = std::get_if<Array>(&v.storage_)) {
      for (auto& c : *a)
        if (c.arrayValue() || c.objectValue()) pending.push_back(std::move(c));
      a->clear();
    } else if (auto* o = std::get_if<Object>(&v.storage_)) {
      for (auto& e : *o)
        if (e.second.arrayValue() || e.second.objectValue()) pending.push_back(std::move(e.second));
      o->clear();
    }
  };
  detach(*this);
  while (!pending.empty()) {
    AnyValue v = std::move(pending.back());
    pending.pop_back();
    detach(v);
  }
}

bool operator==(const AnyValue& a, const AnyValue& b) {
  std::vector<std::pair<const AnyValue*, const AnyValue*>> work{{&a, &b}};
  while (!work.empty()) {
    auto [x, y] = work.back();
    work.pop_back();
    if (x->storage_.index() != y->storage_.index()) return false;
    switch (x->kind()) {
      case AnyValue::Kind::bool_:
        if (*x->boolValue() != *y->boolValue()) return false;
        break;
      case AnyValue::Kind::int_:
        if (*x->intValue() != *y->intValue()) return false;
        break;
      case AnyValue::Kind::double_:
        if (std::get<double>(x->storage_) != std::get<double>(y->storage_)) return false;
        break;
      case AnyValue::Kind::string:
        if (!TextServices::canonicallyEqual(*x->stringValue(), *y->stringValue())) return false;
        break;
      case AnyValue::Kind::array: {
        const auto& xa = *x->arrayValue();
        const auto& ya = *y->arrayValue();
        if (xa.size() != ya.size()) return false;
        for (std::size_t i = 0; i < xa.size(); ++i) work.emplace_back(&xa[i], &ya[i]);
        break;
      }
      case AnyValue::Kind::object: {
        const auto& xo = *x->objectValue();
        const auto& yo = *y->objectValue();
        if (xo.size() != yo.size()) return false;
        for (const auto& [key, value] : xo) {
          const AnyValue* other = yo.find(key);
          if (!other) return false;
          work.emplace_back(&value, other);
        }
        break;
      }
      case AnyValue::Kind::null:
        break;
    }
  }
  return true;
}

std::size_t AnyValue::hash() const {
  // Post-order walk with an explicit stack. Arrays combine their children in order; objects add
  // up a per-entry mix so that entry order does not matter.
  struct Frame {
    const AnyValue* value;
    std::size_t next = 0;
    std::size_t acc = 0;
  };
  auto discriminator = [](const AnyValue& v) -> std::size_t {
    switch (v.kind()) {
      case Kind::null: return 0;
      case Kind::bool_: return 1;
      case Kind::int_: return 2;
      case Kind::double_: return 3;
      case Kind::string: return 4;
      case Kind::array: return 5;
      case Kind::object: return 6;
    }
    return 0;
  };
  auto leafHash = [&](const AnyValue& v) -> std::size_t {
    std::size_t seed = discriminator(v);
    switch (v.kind()) {
      case Kind::bool_: hashCombine(seed, *v.boolValue() ? 1 : 0); break;
      case Kind::int_: hashCombine(seed, std::hash<int64_t>{}(*v.intValue())); break;
      case Kind::double_: {
        double d = std::get<double>(v.storage_);
        if (d == 0.0) d = 0.0;  // -0.0 hashes as 0.0
        hashCombine(seed, std::hash<uint64_t>{}(std::bit_cast<uint64_t>(d)));
        break;
      }
      case Kind::string: hashCombine(seed, TextServices::canonicalHash(*v.stringValue())); break;
      default: break;
    }
    return seed;
  };

  std::vector<Frame> stack;
  std::size_t result = 0;
  auto push = [&](const AnyValue& v) {
    if (v.arrayValue() || v.objectValue()) {
      Frame f{&v};
      f.acc = discriminator(v);
      if (auto* a = v.arrayValue()) hashCombine(f.acc, a->size());
      stack.push_back(f);
      return false;
    }
    result = leafHash(v);
    return true;
  };
  auto deliver = [&](std::size_t childHash) {
    Frame& top = stack.back();
    if (top.value->arrayValue()) {
      hashCombine(top.acc, childHash);
    } else {
      const auto& entry = top.value->objectValue()->entries()[top.next - 1];
      std::size_t mix = TextServices::canonicalHash(entry.first);
      hashCombine(mix, childHash);
      top.acc += mix;
    }
  };

  if (push(*this)) return result;
  while (!stack.empty()) {
    Frame& top = stack.back();
    std::size_t count = top.value->arrayValue() ? top.value->arrayValue()->size() : top.value->objectValue()->size();
    if (top.next == count) {
      std::size_t h = top.acc;
      stack.pop_back();
      if (stack.empty()) return h;
      deliver(h);
      continue;
    }
    const AnyValue& child = top.value->arrayValue() ? (*top.value->arrayValue())[top.next]
                                                    : top.value->objectValue()->entries()[top.next].second;
    ++top.next;
    if (push(child)) deliver(result);
  }
  return result;
}

}  // namespace VoziZazIreCore
