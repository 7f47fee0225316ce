// Loading a system library when it is first needed instead of at program start: drovik-cli
// starts once per script call, and most calls never touch the printer or the network.
#pragma once

#include <string>

#include "files/status.h"

namespace drovik::transport {

class SharedLibrary {
 public:
  // Loads the library by its versioned file name (for example "libcurl.so.4").
  explicit SharedLibrary(const char* fileName);
  bool loaded() const { return handle_ != nullptr; }
  const std::string& problem() const { return problem_; }

  // Sets `function` to the library's symbol `name`; a missing one is recorded as a problem.
  template <class Function>
  void bind(Function& function, const char* name) {
    function = reinterpret_cast<Function>(symbol(name));
  }

 private:
  void* symbol(const char* name);

  void* handle_ = nullptr;
  std::string problem_;
};

}  // namespace drovik::transport
