// The parts of libcurl the FTP client uses, loaded on first use.
#pragma once

#include <curl/curl.h>

#include "model/status.h"

namespace drovik::transport {

struct CurlLibrary {
  decltype(&::curl_easy_init) easyInit;
  CURLcode (*easySetopt)(CURL*, CURLoption, ...);
  decltype(&::curl_easy_perform) easyPerform;
  decltype(&::curl_easy_cleanup) easyCleanup;
  decltype(&::curl_easy_strerror) easyStrerror;
  decltype(&::curl_easy_escape) easyEscape;
  decltype(&::curl_free) free;
};

// The library, initialised once for the whole program; an error when it cannot be loaded.
Result<const CurlLibrary*> curlLibrary();

}  // namespace drovik::transport
