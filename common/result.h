#pragma once

#include <optional>
#include <utility>
#include <variant>

#include "common/error.h"

namespace tervela {

// The outcome of an operation that returns nothing: success or an Error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

// A value or an Error.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : state_(std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<0>(state_); }
  T& value() { return std::get<0>(state_); }
  const Error& error() const { return std::get<1>(state_); }
  Status status() const { return ok() ? Status() : Status(error()); }

 private:
  std::variant<T, Error> state_;
};

}  // namespace tervela
