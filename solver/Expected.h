#pragma once
// The one way the program says "a value, or the reason there is none": the solver, the driver, the
// catalogue loader, the airfoil measurement and file saving all return an Expected. The reason is
// a sentence for the user, ready to be shown as it stands.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace orvek {

// Why a value could not be had, in words for the user.
struct Failure {
    std::string message;
};

template <typename T>
class [[nodiscard]] Expected {
public:
    Expected(T value) : state_(std::move(value)) {}            // NOLINT(google-explicit-constructor)
    Expected(Failure failure) : state_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& operator*() & { return std::get<T>(state_); }
    const T& operator*() const& { return std::get<T>(state_); }
    T&& operator*() && { return std::get<T>(std::move(state_)); }
    T* operator->() { return &std::get<T>(state_); }
    const T* operator->() const { return &std::get<T>(state_); }

    // The reason; only for a failed Expected.
    const std::string& error() const { return std::get<Failure>(state_).message; }

private:
    std::variant<T, Failure> state_;
};

// Success without a value, or the reason for failing.
template <>
class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Failure failure) : failure_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return failure_->message; }

private:
    std::optional<Failure> failure_;
};

using Status = Expected<void>;

}  // namespace orvek
