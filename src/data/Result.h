#pragma once

#include "data/Failure.h"

#include <optional>
#include <utility>
#include <variant>

namespace orv {

// What a routine of the core gives back when it can fail: the value, or the
// Failure that says which file or folder, what was being done and the
// system's reason. The front ends word the failure; nothing in between
// turns it into a message.
template <typename T> class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Failure& failure() const& { return std::get<1>(state_); }
    Failure&& failure() && { return std::get<1>(std::move(state_)); }

  private:
    std::variant<T, Failure> state_;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const& { return *failure_; }
    Failure&& failure() && { return std::move(*failure_); }

  private:
    std::optional<Failure> failure_;
};

} // namespace orv
