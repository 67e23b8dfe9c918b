#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <system_error>

#include "test_support/scratch_folder.h"
#include "test_support/system.h"

namespace tervela::testing {

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(static_cast<std::size_t>(
                        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                    L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
  return wide;
}

// One argument of a command line as the C runtime splits it again: quoted
// where it has blanks or quotes, a quote escaped with a backslash, and the
// backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

// The folder of the test program.
std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD size = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, size)).parent_path();
}

// A new file in the temporary folder, open for `access`, removed when closed.
HANDLE TemporaryFile(DWORD access) {
  wchar_t folder[MAX_PATH], name[MAX_PATH];
  if (::GetTempPathW(MAX_PATH, folder) == 0 || ::GetTempFileNameW(folder, L"tvt", 0, name) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  return ::CreateFileW(name, access, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                       nullptr);
}

HANDLE Inheritable(HANDLE handle) {
  ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

}  // namespace

std::string WhyLacking(Facility facility) {
  switch (facility) {
    case Facility::Fifo: return "Windows has no FIFOs in its file system";
    case Facility::FullDevice: return "Windows has no always-full device nor one of endless zeros";
    case Facility::FileSizeLimit: return "Windows sets no limit on the size of the files a process writes";
    case Facility::PosixPermissions:
      return "Windows keeps no POSIX permissions; its read-only attribute is tested instead";
    case Facility::SymbolicLinks: {
      // Making one needs a privilege that ordinary users, and Wine, may not have.
      const std::filesystem::path link = std::filesystem::temp_directory_path() / "tervela-symlink-probe";
      std::error_code error;
      std::filesystem::remove(link, error);
      std::filesystem::create_symlink("target", link, error);
      const bool made = !error;
      std::filesystem::remove(link, error);
      return made ? std::string() : "this Windows user may not make symbolic links";
    }
    case Facility::HostProjPrograms:
      return "the tests run under Wine, which reaches no shell of the build machine's PROJ programs";
    case Facility::LocaleFromEnvironment:
      return "Windows takes the decimal separator from the user's regional settings";
    case Facility::HeldWithoutSharing:
    case Facility::RegionalSettings: return {};
  }
  return {};
}

int WindowOpeningFactor() { return 4; }

// An empty value removes the variable.
void SetEnvironment(const char* name, const char* value) { ::_putenv_s(name, value != nullptr ? value : ""); }

bool MakeFifo(const std::string&) { return false; }

int OpenDescriptor(const std::string& path, OpenMode mode) {
  const std::wstring name = Wide(path);
  switch (mode) {
    case OpenMode::Read: return ::_wopen(name.c_str(), _O_RDONLY | _O_BINARY);
    case OpenMode::Write: return ::_wopen(name.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    case OpenMode::Append: return ::_wopen(name.c_str(), _O_WRONLY | _O_APPEND | _O_BINARY);
    case OpenMode::ReadWriteNonBlocking:
    case OpenMode::WriteNonBlocking: return -1;
  }
  return -1;
}

int DescriptorHolding(const std::string& bytes) {
  const HANDLE file = TemporaryFile(GENERIC_READ | GENERIC_WRITE);
  if (file == INVALID_HANDLE_VALUE) return -1;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  return ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR | _O_BINARY);
}

bool DescriptorOpen(int fd) { return ::_get_osfhandle(fd) != -1; }

bool MakePipe(int ends[2]) { return ::_pipe(ends, 65536, _O_BINARY) == 0; }

// Windows opens no pipe end a second time: the write end stays open, unused,
// for the life of the test program.
int WaitingPipe() {
  int ends[2];
  return MakePipe(ends) ? ends[0] : -1;
}

int UnreadableDescriptor() {
  const HANDLE file = TemporaryFile(GENERIC_WRITE);
  if (file == INVALID_HANDLE_VALUE) return -1;
  return ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
}

int OpenFileCount() {
  DWORD count = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &count);
  return static_cast<int>(count);
}

std::string MessageAsOrdinaryUser(const std::function<Status()>& action) {
  const Status status = action();
  return status.ok() ? "ok" : status.error().message();
}

std::string MessageWithFileSizeLimit(std::size_t, const std::function<Status()>&) {
  return WhyLacking(Facility::FileSizeLimit);
}

// The user's own values of the regional settings, which override those of
// the user's locale.
constexpr wchar_t kInternational[] = L"Control Panel\\International";

RegionalDecimalSeparator::RegionalDecimalSeparator(char separator) {
  wchar_t value[16] = {};
  DWORD size = sizeof value;
  had_previous_ = ::RegGetValueW(HKEY_CURRENT_USER, kInternational, L"sDecimal", RRF_RT_REG_SZ, nullptr, value,
                                 &size) == ERROR_SUCCESS;
  previous_ = value;
  const wchar_t wanted[2] = {static_cast<wchar_t>(separator), L'\0'};
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kInternational, L"sDecimal", REG_SZ, wanted, sizeof wanted);
}

RegionalDecimalSeparator::~RegionalDecimalSeparator() {
  if (had_previous_) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kInternational, L"sDecimal", REG_SZ, previous_.c_str(),
                      static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
  } else {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kInternational, L"sDecimal");
  }
}

HeldFile::HeldFile(const std::string& path)
    : handle_(::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
}

ProgramRun RunProgram(std::vector<std::string> argv, const std::string& input, const std::string& folder,
                      const std::string& locale, bool closed_output) {
  std::filesystem::path program = Wide(argv[0]);
  if (!program.has_parent_path()) program = ProgramFolder() / program;
  std::wstring command_line = Quoted(program.wstring());
  for (std::size_t i = 1; i < argv.size(); ++i) command_line += L" " + Quoted(Wide(argv[i]));
  // The environment block: this process's (Windows needs SystemRoot and
  // others), with LC_ALL replaced, then the end of the block.
  std::wstring environment;
  wchar_t* const inherited_environment = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = inherited_environment; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    if (std::wcsncmp(entry, L"LC_ALL=", 7) != 0) environment.append(entry).push_back(L'\0');
  }
  ::FreeEnvironmentStringsW(inherited_environment);
  environment.append(L"LC_ALL=" + Wide(locale)).push_back(L'\0');
  environment.push_back(L'\0');

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const std::string out = folder + "/stdout", err = folder + "/stderr";
  // Shared for every use: Wine may close a finished child's copies of these
  // a moment after its end is seen, when the next run writes them again.
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE in_file = ::CreateFileW(Wide(input).c_str(), GENERIC_READ, kShareAll, &inherited, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE out_file = ::CreateFileW(Wide(out).c_str(), GENERIC_WRITE, kShareAll, &inherited, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  const HANDLE err_file = ::CreateFileW(Wide(err).c_str(), GENERIC_WRITE, kShareAll, &inherited,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (closed_output) {
    HANDLE reader = nullptr, writer = nullptr;
    if (::CreatePipe(&reader, &writer, nullptr, 0)) {
      ::CloseHandle(reader);
      ::CloseHandle(out_file);
      out_file = Inheritable(writer);
    }
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_file;
  startup.hStdOutput = out_file;
  startup.hStdError = err_file;
  PROCESS_INFORMATION process{};
  ProgramRun run;
  if (::CreateProcessW(program.wstring().c_str(), command_line.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(), nullptr, &startup,
                       &process)) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exit_code = 0;
    if (::GetExitCodeProcess(process.hProcess, &exit_code)) run.exit_code = static_cast<int>(exit_code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  for (const HANDLE handle : {in_file, out_file, err_file}) ::CloseHandle(handle);
  run.out = ReadBytes(out);
  run.err = ReadBytes(err);
  return run;
}

}  // namespace tervela::testing
