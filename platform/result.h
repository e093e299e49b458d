#pragma once
// Outcomes of operations that can fail. Failures carry a message in plain
// words (with the system's reason where there is one) meant for the user.

#include <optional>
#include <string>
#include <utility>

namespace platform {

class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Fail(std::string message) { return Status(std::move(message)); }
    // The system refused for want of rights (ERROR_ACCESS_DENIED): someone
    // with more rights, or a service acting for the user, could still do it.
    static Status AccessDenied(std::string message) {
        Status s(std::move(message));
        s.accessDenied_ = true;
        return s;
    }

    bool ok() const { return !message_.has_value(); }
    bool accessDenied() const { return accessDenied_; }
    explicit operator bool() const { return ok(); }
    // Empty for a success.
    const std::string& message() const {
        static const std::string none;
        return message_ ? *message_ : none;
    }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)) {}
    std::optional<std::string> message_;
    bool accessDenied_ = false;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
    Result(Status failure) : failure_(std::move(failure)) {}  // NOLINT
    static Result Fail(std::string message) { return Result(Status::Fail(std::move(message))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    const T* operator->() const { return &*value_; }
    const std::string& message() const { return failure_.message(); }
    // The failure as a Status, to pass up unchanged.
    Status status() const { return ok() ? Status::Ok() : failure_; }

private:
    std::optional<T> value_;
    Status failure_ = Status::Ok();
};

}  // namespace platform
