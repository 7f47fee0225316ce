#include "transport/shared_library.h"

#include <dlfcn.h>

namespace drovik::transport {

SharedLibrary::SharedLibrary(const char* fileName) {
  handle_ = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
  if (!handle_) problem_ = std::string(fileName) + " を読み込めません: " + ::dlerror();
}

void* SharedLibrary::symbol(const char* name) {
  if (!handle_) return nullptr;
  void* found = ::dlsym(handle_, name);
  if (!found && problem_.empty()) problem_ = std::string(name) + " が見つかりません";
  return found;
}

}  // namespace drovik::transport
