// The parts of libcurl the FTP client uses, loaded on first use.
#pragma once

#include <curl/curl.h>

#include "files/status.h"

namespace drovik::transport {

struct CurlLibrary {
  decltype(&::curl_easy_init) easyInit;
  CURLcode (*easySetopt)(CURL*, CURLoption, ...);
  decltype(&::curl_easy_cleanup) easyCleanup;
  decltype(&::curl_easy_strerror) easyStrerror;
  decltype(&::curl_easy_escape) easyEscape;
  decltype(&::curl_free) free;
  decltype(&::curl_multi_init) multiInit;
  decltype(&::curl_multi_add_handle) multiAddHandle;
  decltype(&::curl_multi_remove_handle) multiRemoveHandle;
  decltype(&::curl_multi_perform) multiPerform;
  decltype(&::curl_multi_poll) multiPoll;
  decltype(&::curl_multi_info_read) multiInfoRead;
  decltype(&::curl_multi_cleanup) multiCleanup;
};

// The library, initialised once for the whole program; an error when it cannot be loaded.
Result<const CurlLibrary*> curlLibrary();

}  // namespace drovik::transport
