#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tervela::testing {

// A fresh folder under the temporary directory, removed with its contents
// when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }
  // The names of the entries, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// The whole content of a file; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);

}  // namespace tervela::testing
