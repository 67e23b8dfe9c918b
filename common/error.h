#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace tervela {

// What went wrong, in the words the user sees.
enum class ErrorKind {
  NotANumber,     // a typed text that does not parse as a number
  FloatingPoint,  // an arithmetic fault (invalid operation, division by zero, overflow)
  File,           // a file error with its number
  NotConverged,   // the grid-to-geographic inversion found no point for the grid values
  OutOfRange,     // an input value that names no point on the Earth
  Limit,          // a limit of the program or of the machine: a settings line too long, memory
  Refused,        // a coordinate system the program cannot take, with the reason
  Internal,       // any other failure the C++ library reports by an exception
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

// A system error that errno has no name for, such as Windows' sharing
// violation: the Windows file layer passes it to Error::FromErrno as this base
// plus the system's own number, which the message keeps ("I/O error 32").
inline constexpr int kSystemErrorBase = 0x10000;

// An error as a value: its kind, its file error number (0 for other kinds) and
// the exact message shown to the user.
class Error {
 public:
  static Error NotANumber(std::string_view text);
  static Error InvalidOperation();
  static Error DivisionByZero();
  static Error Overflow();
  static Error InversionDidNotConverge();
  // "Latitude out of range": a WGS84 latitude beyond 90 degrees north or south.
  static Error LatitudeOutOfRange();
  // "Too near a pole for the three-parameter shift": a point whose longitude
  // Molodensky's formula would turn by more than it can (engine/
  // three_parameter_shift.cpp).
  static Error TooNearPoleForShift();
  static Error File(int code);
  // Maps an errno value of a failed file operation to the program's file error.
  static Error FromErrno(int errno_value);
  // "Settings line longer than 16 MiB": the settings reader's line limit.
  static Error SettingsLineTooLong();
  // A coordinate system that cannot fill a parameter set; `message` names it
  // and says why.
  static Error SystemRefused(std::string message);
  // A DXF drawing asked of a run to WGS84, whose output holds no grid
  // coordinates to draw: kind Refused.
  static Error DxfNeedsGridOutput();
  // A library loaded on first use (common/runtime_library.h) that could not
  // be: `message` names it and says why.
  static Error LibraryUnavailable(std::string message);
  // "Control file line N: PROBLEM", a control-file line that is not four
  // numbers and a name, or whose point does not convert: kind File, code 106.
  static Error ControlLine(std::size_t line, std::string_view problem);
  // "Control file larger than 16 MiB": the control reader's size limit.
  static Error ControlFileTooLarge();
  // "Control file holds no point": one that is empty or only comments.
  static Error NoControlPoint();
  // "No control point left to fit": a calibration with every point flagged.
  static Error NoControlPointToFit();
  // An exception that reached a program's top level: "Out of memory" for a
  // failed allocation, the exception's own text for any other.
  static Error FromException(const std::exception& exception);

  ErrorKind kind() const { return kind_; }
  int code() const { return code_; }
  const std::string& message() const { return message_; }
  // The errno that FromErrno mapped; 0 for an error no system call gave.
  // Distinguishes a closed pipe (EPIPE) from the refusal with the same number.
  int errno_value() const { return errno_value_; }

  // The text of the error box: the message with a full stop appended when the
  // code of its last character is greater than that of the full stop.
  std::string BoxText() const;

  // Where the error happened: the file (empty where the caller knows it) and
  // the line (1 for the first; 0 for an error of the whole file, or tied to
  // no file).
  const std::string& file() const { return file_; }
  std::uint64_t line() const { return line_; }
  // The same error placed at `line` of `file`.
  Error At(std::string file, std::uint64_t line) const;
  // BoxText() after "FILE: line N: ", as the command line prints it; the
  // file part is left out while unnamed, the line part without a line.
  std::string PlacedText() const;
  // The same error with `sentence` after the box text, for a box that has
  // more to tell (its kind, code and place are kept).
  Error WithSentence(std::string_view sentence) const;

  // The same error as the user sees it, whatever errno it came from.
  friend bool operator==(const Error& a, const Error& b) {
    return a.kind_ == b.kind_ && a.code_ == b.code_ && a.message_ == b.message_;
  }

 private:
  Error(ErrorKind kind, int code, std::string message)
      : kind_(kind), code_(code), message_(std::move(message)) {}
  static Error FileErrorOf(int errno_value);

  ErrorKind kind_;
  int code_;
  std::string message_;
  int errno_value_ = 0;
  std::string file_;
  std::uint64_t line_ = 0;
};

// A user's text as a message quotes it: a text of more than
// kMaxQuotedCharacters characters is cut to that many followed by "...". A
// well-formed UTF-8 sequence counts as one character, any other byte as one.
inline constexpr std::size_t kMaxQuotedCharacters = 80;
std::string QuotedText(std::string_view text);

// The error-box text rule on its own, for any message.
std::string ErrorBoxText(std::string_view message);

}  // namespace tervela
