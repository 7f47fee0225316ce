#include "transport/curl_library.h"

#include "transport/shared_library.h"

namespace drovik::transport {

Result<const CurlLibrary*> curlLibrary() {
  struct Loaded {
    SharedLibrary library{"libcurl.so.4"};
    CurlLibrary api{};
    std::string problem;
    Loaded() {
      decltype(&::curl_global_init) globalInit = nullptr;
      library.bind(globalInit, "curl_global_init");
      library.bind(api.easyInit, "curl_easy_init");
      library.bind(api.easySetopt, "curl_easy_setopt");
      library.bind(api.easyCleanup, "curl_easy_cleanup");
      library.bind(api.easyStrerror, "curl_easy_strerror");
      library.bind(api.easyEscape, "curl_easy_escape");
      library.bind(api.free, "curl_free");
      library.bind(api.multiInit, "curl_multi_init");
      library.bind(api.multiAddHandle, "curl_multi_add_handle");
      library.bind(api.multiRemoveHandle, "curl_multi_remove_handle");
      library.bind(api.multiPerform, "curl_multi_perform");
      library.bind(api.multiPoll, "curl_multi_poll");
      library.bind(api.multiInfoRead, "curl_multi_info_read");
      library.bind(api.multiCleanup, "curl_multi_cleanup");
      problem = library.problem();
      if (problem.empty() && globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        problem = "libcurl を初期化できません";
    }
  };
  static const Loaded loaded;  // thread-safe, once
  if (!loaded.problem.empty()) return Error{loaded.problem};
  return &loaded.api;
}

}  // namespace drovik::transport
