// RuntimeLibrary on the dynamic linker of POSIX systems.

#include "common/runtime_library.h"

#include <dlfcn.h>

namespace tervela {

RuntimeLibrary::RuntimeLibrary(const char* file_name)
    : file_name_(file_name), handle_(::dlopen(file_name, RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) failure_ = ::dlerror();
}

void* RuntimeLibrary::Find(const char* name) {
  if (handle_ == nullptr) return nullptr;
  void* const address = ::dlsym(handle_, name);
  if (address == nullptr && failure_.empty()) failure_ = std::string(file_name_) + " lacks " + name;
  return address;
}

std::string RuntimeLibrary::Folder() const { return {}; }

}  // namespace tervela
