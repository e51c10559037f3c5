#pragma once

#include <mutex>
#include <optional>

namespace Carvex {

// A value an adapter works out from its part of the model on first request and hands out as copies
// afterwards: the model never changes, so the answer never does. Safe from any thread.
template<class T>
class AdapterMemo {
public:
    using Value = T;

    template<class Make>
    T get(Make make) const
    {
        const std::lock_guard lock(mutex_);
        if (!value_)
            value_.emplace(make());
        return *value_;
    }

private:
    mutable std::mutex mutex_;
    mutable std::optional<T> value_;
};

} // namespace Carvex
