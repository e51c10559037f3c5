#pragma once

#include "kit/core/Reference.h"

#include <memory>
#include <variant>

namespace Carvex {

// A place of the model that held either a "$ref" (handed over unresolved) or an inline object presented
// through its adapter T.
template<class T>
class RefOrValue {
public:
    static RefOrValue reference(VoziZazIreCore::Reference reference)
    {
        return RefOrValue(std::in_place_index<0>, std::make_shared<const VoziZazIreCore::Reference>(std::move(reference)));
    }
    // A reference shared with the model (`reference` must not be null).
    static RefOrValue reference(std::shared_ptr<const VoziZazIreCore::Reference> reference)
    {
        return RefOrValue(std::in_place_index<0>, std::move(reference));
    }
    // `adapter` must not be null.
    static RefOrValue value(std::shared_ptr<const T> adapter) { return RefOrValue(std::in_place_index<1>, std::move(adapter)); }

    bool isReference() const noexcept { return value_.index() == 0; }
    // The reference of the reference case, else null.
    const VoziZazIreCore::Reference* referenceValue() const noexcept
    {
        const auto* reference = std::get_if<0>(&value_);
        return reference ? reference->get() : nullptr;
    }
    // The adapter of the value case, else null.
    const T* inlineValue() const noexcept
    {
        const auto* adapter = std::get_if<1>(&value_);
        return adapter ? adapter->get() : nullptr;
    }
    std::shared_ptr<const T> sharedInlineValue() const
    {
        const auto* adapter = std::get_if<1>(&value_);
        return adapter ? *adapter : nullptr;
    }

private:
    template<std::size_t I, class Arg>
    RefOrValue(std::in_place_index_t<I> index, Arg&& arg) : value_(index, std::forward<Arg>(arg))
    {
    }

    std::variant<std::shared_ptr<const VoziZazIreCore::Reference>, std::shared_ptr<const T>> value_;
};

} // namespace Carvex
