#pragma once

#include <string>
#include <string_view>

namespace tervela {

// What went wrong, in the words the user sees.
enum class ErrorKind {
  NotANumber,     // a typed text that does not parse as a number
  FloatingPoint,  // an arithmetic fault (invalid operation, division by zero, overflow)
  File,           // a file error with its number
  NotConverged,   // the grid-to-geographic inversion found no point for the grid values
};

// File error numbers as the program reports them.
namespace file_error {
inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
inline constexpr int kReadBeyondEnd = 100;
inline constexpr int kDiskFull = 101;
inline constexpr int kInvalidNumericInput = 106;
}  // namespace file_error

// An error as a value: its kind, its file error number (0 for other kinds) and
// the exact message shown to the user.
class Error {
 public:
  static Error NotANumber(std::string_view text);
  static Error InvalidOperation();
  static Error DivisionByZero();
  static Error Overflow();
  static Error InversionDidNotConverge();
  static Error File(int code);
  // Maps an errno value of a failed file operation to the program's file error.
  static Error FromErrno(int errno_value);

  ErrorKind kind() const { return kind_; }
  int code() const { return code_; }
  const std::string& message() const { return message_; }

  // The text of the error box: the message with a full stop appended when the
  // code of its last character is greater than that of the full stop.
  std::string BoxText() const;

  friend bool operator==(const Error&, const Error&) = default;

 private:
  Error(ErrorKind kind, int code, std::string message)
      : kind_(kind), code_(code), message_(std::move(message)) {}

  ErrorKind kind_;
  int code_;
  std::string message_;
};

// The error-box text rule on its own, for any message.
std::string ErrorBoxText(std::string_view message);

}  // namespace tervela
