#include "transport/cups_route.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

constexpr std::chrono::milliseconds kConnectTimeout{5000};
// Data goes in pieces so that progress and a cancel request are seen during the write.
constexpr std::size_t kWriteChunk = 1024;

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpCloser>;

// Called by libcups when a wait on the spooler lasts longer than a second: go on waiting
// unless the operator cancelled or the time is up.
int keepWaiting(http_t*, void* user) {
  return static_cast<RunControl*>(user)->shouldStop() ? 0 : 1;
}

Connection connectToSpooler(RunControl& control) {
  const int timeoutMs = static_cast<int>(std::min(kConnectTimeout, control.remaining()).count());
  Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               timeoutMs, nullptr));
  if (http) httpSetTimeout(http.get(), 1.0, keepWaiting, &control);
  return http;
}

std::string spoolerError() {
  const char* text = cupsLastErrorString();
  return text ? text : "";
}

bool isSharedFromElsewhere(const cups_dest_t& dest) {
  const char* type = cupsGetOption("printer-type", dest.num_options, dest.options);
  const long bits = type ? std::strtol(type, nullptr, 10) : 0;
  return (bits & (CUPS_PRINTER_REMOTE | CUPS_PRINTER_DISCOVERED)) != 0;
}

}  // namespace

Result<std::vector<PrinterEntry>> listLocalPrinters() {
  RunControl control;
  Connection http = connectToSpooler(control);
  if (!http) return Error{"印刷システムに接続できません（" + std::string(cupsServer()) + "）"};
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(http.get(), &dests);
  // No queue at all is an answer too; only a failed request is an error.
  if (count == 0 && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE &&
      cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
    return Error{"プリンタの一覧を取得できません（" + spoolerError() + "）"};
  std::vector<PrinterEntry> printers;
  for (int i = 0; i < count && printers.size() < kMaxListedPrinters; ++i) {
    const cups_dest_t& dest = dests[i];
    if (dest.instance || isSharedFromElsewhere(dest)) continue;
    const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options);
    printers.push_back({dest.name, uri ? uri : ""});
  }
  cupsFreeDests(count, dests);
  return printers;
}

CupsRoute::CupsRoute(std::string queue) : queue_(std::move(queue)) {}

SendOutcome CupsRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  const auto failed = [](std::string detail) {
    return SendOutcome{false, std::string(kSpoolFailedMessage), std::move(detail)};
  };
  const std::string title(kJobTitle);
  Connection http = connectToSpooler(control);
  if (!http) return failed("印刷システムに接続できません（" + std::string(cupsServer()) + "）");
  const int job = cupsCreateJob(http.get(), queue_.c_str(), title.c_str(), 0, nullptr);
  if (job == 0) return failed(spoolerError());

  // Leaves no job behind that holds part of the command or waits for it.
  const auto abandon = [&](std::string detail) {
    http.reset();  // breaks off the document upload
    if (Connection again = connectToSpooler(control))
      cupsCancelJob2(again.get(), queue_.c_str(), job, 0);
    return failed(std::move(detail));
  };
  if (cupsStartDocument(http.get(), queue_.c_str(), job, title.c_str(), CUPS_FORMAT_RAW, 1) !=
      HTTP_STATUS_CONTINUE)
    return abandon(spoolerError());
  control.reportProgress(0, image.size());
  for (std::size_t at = 0; at < image.size(); at += kWriteChunk) {
    if (control.shouldStop()) return abandon(control.cancelled() ? "中止しました" : "時間切れ");
    const std::size_t size = std::min(kWriteChunk, image.size() - at);
    if (cupsWriteRequestData(http.get(), reinterpret_cast<const char*>(image.data() + at), size) !=
        HTTP_STATUS_CONTINUE)
      return abandon(spoolerError());
    control.reportProgress(at + size, image.size());
  }
  if (cupsFinishDocument(http.get(), queue_.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE)
    return abandon(spoolerError());
  return {true, {}, "ジョブ " + std::to_string(job)};
}

}  // namespace drovik::transport
