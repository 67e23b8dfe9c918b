#include "common/error.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "common/utf8.h"

namespace tervela {

namespace {

// "I/O error n", the message of every file error without a name of its own.
std::string IoErrorText(int code) {
  std::string text = "I/O error ";
  text += std::to_string(code);
  return text;
}

}  // namespace

Error Error::NotANumber(std::string_view text) {
  std::string message = "'";
  message.append(QuotedText(text));
  message.append("' is not a valid floating point value");
  return Error(ErrorKind::NotANumber, 0, std::move(message));
}

Error Error::InvalidOperation() {
  return Error(ErrorKind::FloatingPoint, 0, "Invalid floating point operation");
}

Error Error::DivisionByZero() {
  return Error(ErrorKind::FloatingPoint, 0, "Floating point division by zero");
}

Error Error::Overflow() { return Error(ErrorKind::FloatingPoint, 0, "Floating point overflow"); }

Error Error::InversionDidNotConverge() {
  return Error(ErrorKind::NotConverged, 0, "Inversion did not converge");
}

Error Error::LatitudeOutOfRange() {
  return Error(ErrorKind::OutOfRange, 0, "Latitude out of range");
}

Error Error::TooNearPoleForShift() {
  return Error(ErrorKind::OutOfRange, 0, "Too near a pole for the three-parameter shift");
}

Error Error::File(int code) {
  switch (code) {
    case file_error::kFileNotFound: return Error(ErrorKind::File, code, "File not found");
    case file_error::kInvalidFilename: return Error(ErrorKind::File, code, "Invalid filename");
    case file_error::kTooManyOpenFiles: return Error(ErrorKind::File, code, "Too many open files");
    case file_error::kAccessDenied: return Error(ErrorKind::File, code, "File access denied");
    case file_error::kReadBeyondEnd: return Error(ErrorKind::File, code, "Read beyond end of file");
    case file_error::kDiskFull: return Error(ErrorKind::File, code, "Disk full");
    case file_error::kInvalidNumericInput: return Error(ErrorKind::File, code, "Invalid numeric input");
    default: return Error(ErrorKind::File, code, IoErrorText(code));
  }
}

Error Error::FromErrno(int errno_value) {
  Error error = FileErrorOf(errno_value);
  error.errno_value_ = errno_value;
  return error;
}

Error Error::FileErrorOf(int errno_value) {
  switch (errno_value) {
    case ENOENT: return File(file_error::kFileNotFound);
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP: return File(file_error::kInvalidFilename);
    case EMFILE:
    case ENFILE: return File(file_error::kTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return File(file_error::kAccessDenied);
    case ENOSPC:
#if defined(EDQUOT)  // a disk quota; Windows' C library names none
    case EDQUOT:
#endif
      return File(file_error::kDiskFull);
    // Any other errno keeps its number, also where that number names another
    // error in the table above (EIO is 5, EINTR is 4); a system error without
    // an errno keeps the system's number.
    default: {
      const int code = errno_value >= kSystemErrorBase ? errno_value - kSystemErrorBase : errno_value;
      return Error(ErrorKind::File, code, IoErrorText(code));
    }
  }
}

Error Error::SystemRefused(std::string message) {
  return Error(ErrorKind::Refused, 0, std::move(message));
}

Error Error::DxfNeedsGridOutput() {
  return Error(ErrorKind::Refused, 0,
               "No DXF drawing for a run to WGS84: a drawing holds grid coordinates, so choose "
               "a direction to TM - A or TM - B");
}

Error Error::LibraryUnavailable(std::string message) {
  return Error(ErrorKind::Internal, 0, std::move(message));
}

Error Error::SettingsLineTooLong() {
  return Error(ErrorKind::Limit, 0, "Settings line longer than 16 MiB");
}

Error Error::ControlLine(std::size_t line, std::string_view problem) {
  std::string message = "Control file line " + std::to_string(line) + ": ";
  message.append(problem);
  return Error(ErrorKind::File, file_error::kInvalidNumericInput, std::move(message));
}

Error Error::ControlFileTooLarge() {
  return Error(ErrorKind::Limit, 0, "Control file larger than 16 MiB");
}

Error Error::NoControlPoint() {
  return Error(ErrorKind::File, file_error::kInvalidNumericInput, "Control file holds no point");
}

Error Error::NoControlPointToFit() {
  return Error(ErrorKind::Limit, 0, "No control point left to fit");
}

Error Error::FromException(const std::exception& exception) {
  // A length_error is a request for more than any allocation can give.
  if (dynamic_cast<const std::bad_alloc*>(&exception) != nullptr ||
      dynamic_cast<const std::length_error*>(&exception) != nullptr) {
    return Error(ErrorKind::Limit, 0, "Out of memory");
  }
  return Error(ErrorKind::Internal, 0, exception.what());
}

std::string Error::BoxText() const { return ErrorBoxText(message_); }

Error Error::At(std::string file, std::uint64_t line) const {
  Error placed = *this;
  placed.file_ = std::move(file);
  placed.line_ = line;
  return placed;
}

std::string Error::PlacedText() const {
  std::string text = file_.empty() ? std::string() : file_ + ": ";
  if (line_ != 0) text += "line " + std::to_string(line_) + ": ";
  return text + BoxText();
}

Error Error::WithSentence(std::string_view sentence) const {
  Error longer = *this;
  longer.message_ = BoxText();
  longer.message_.push_back(' ');
  longer.message_.append(sentence);
  return longer;
}

std::string QuotedText(std::string_view text) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < text.size(); ++characters) {
    if (characters == kMaxQuotedCharacters) return std::string(text.substr(0, end)) + "...";
    end += std::max<std::size_t>(1, Utf8SequenceLength(text.substr(end)));
  }
  return std::string(text);
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text.push_back('.');
  }
  return text;
}

}  // namespace tervela
