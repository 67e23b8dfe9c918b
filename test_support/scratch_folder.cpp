#include "test_support/scratch_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tervela::testing {

namespace fs = std::filesystem;

namespace {

// A UTF-8 name as the file system takes it (on Windows, UTF-16).
fs::path PathOf(const std::string& name) { return fs::path(std::u8string(name.begin(), name.end())); }

}  // namespace

ScratchFolder::ScratchFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = fs::temp_directory_path() / ("tervela-test-" + std::to_string(random()));
    std::error_code error;
    if (fs::create_directory(folder, error)) {
      const std::u8string name = folder.u8string();
      path_.assign(name.begin(), name.end());
      return;
    }
  }
  throw std::runtime_error("no scratch folder could be made");
}

ScratchFolder::~ScratchFolder() {
  // Tests take permissions away from the folder and its files (on Windows
  // set the read-only attribute, which keeps a file from being removed);
  // give them back to remove it.
  std::error_code ignored;
  fs::permissions(PathOf(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
  for (auto entry = fs::recursive_directory_iterator(PathOf(path_), ignored); entry != fs::recursive_directory_iterator();
       entry.increment(ignored)) {
    if (!entry->is_symlink(ignored)) fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(PathOf(path_), ignored);
}

std::vector<std::string> ScratchFolder::Entries() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(path_))) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(PathOf(path), std::ios::binary);
  if (!file) return "<missing>";
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream file(PathOf(path), std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::symlink_status(PathOf(path), error).type() != fs::file_type::not_found && !error;
}

}  // namespace tervela::testing
