// Result types for operations that can fail. Errors carry a message for the operator
// (Japanese, shown as-is by the GUI and printed by the command-line tool).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace drovik {

struct Error {
  std::string message;
};

namespace detail {
// What message() gives on a success, so that a caller's slip shows nothing instead of crashing.
inline const std::string kNoMessage;
}  // namespace detail

// Either success or an Error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}  // NOLINT: implicit on purpose
  static Status ok() { return {}; }

  bool isOk() const { return !error_.has_value(); }
  explicit operator bool() const { return isOk(); }
  const std::string& message() const { return error_ ? error_->message : detail::kNoMessage; }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

// Either a value or an Error.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::move(value)) {}      // NOLINT: implicit on purpose
  Result(Error error) : data_(std::move(error)) {}  // NOLINT: implicit on purpose

  bool isOk() const { return data_.index() == 0; }
  explicit operator bool() const { return isOk(); }
  T& value() & { return std::get<0>(data_); }
  const T& value() const& { return std::get<0>(data_); }
  T&& value() && { return std::get<0>(std::move(data_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  const std::string& message() const {
    const Error* error = std::get_if<1>(&data_);
    return error ? error->message : detail::kNoMessage;
  }
  const Error& error() const { return std::get<1>(data_); }
  Status status() const { return isOk() ? Status{} : Status{error()}; }

 private:
  std::variant<T, Error> data_;
};

}  // namespace drovik
