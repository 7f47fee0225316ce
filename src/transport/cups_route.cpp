#include "transport/cups_route.h"

#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "transport/cups_library.h"
#include "transport/spool_job.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

constexpr std::chrono::milliseconds kConnectTimeout{5000};
// How often a wait on the spooler looks at the run: also the most a give-up costs each of the
// requests libcups still makes after it.
constexpr double kWaitInterval = 0.25;
// Data goes in pieces so that progress and a cancel request are seen during the write.
constexpr std::size_t kWriteChunk = 1024;

// What libcups's wait callback sees: the run, and whether a wait was given up for it.
struct Waiting {
  RunControl& control;
  bool gaveUp = false;
};

// Called by libcups while a wait on the spooler lasts: go on waiting unless the operator
// cancelled or the time is up.
int keepWaiting(http_t*, void* user) {
  auto& waiting = *static_cast<Waiting*>(user);
  if (!waiting.control.shouldStop()) return 1;
  waiting.gaveUp = true;
  return 0;
}

// One connection to the spooler, closed on destruction.
class Spooler {
 public:
  Spooler(const CupsLibrary& cups, RunControl& control) : cups_(cups), waiting_{control} {
    const auto timeout = std::min(kConnectTimeout, control.remaining());
    http_ = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1,
                         static_cast<int>(timeout.count()), nullptr);
    if (http_)
      cups.setTimeout(http_, kWaitInterval, keepWaiting, &waiting_);
    else
      connectError_ = libraryError();
  }
  ~Spooler() { close(); }
  Spooler(const Spooler&) = delete;
  Spooler& operator=(const Spooler&) = delete;

  http_t* http() const { return http_; }
  void close() {
    if (http_) cups_.close(http_);
    http_ = nullptr;
  }
  bool gaveUp() const { return waiting_.gaveUp; }
  std::string unreachable() const {
    const std::string server = "印刷システム " + std::string(cups_.server()) + " に接続できません";
    return connectError_.empty() ? server : server + "（" + connectError_ + "）";
  }
  // Why the last request failed. A wait given up or a connection closed without an answer
  // leaves libcups only the empty system error ("Success") to report: say what happened.
  std::string lastError() const {
    const std::string server = "印刷システム " + std::string(cups_.server());
    if (waiting_.gaveUp && waiting_.control.cancelled()) return "中止しました";
    if (waiting_.gaveUp) return server + " が時間内に応答しません";
    const std::string text = libraryError();
    if (text.empty() || text == std::strerror(0)) return server + " から応答がありません";
    return text;
  }

 private:
  std::string libraryError() const {
    const char* text = cups_.lastErrorString();
    return text ? text : "";
  }

  const CupsLibrary& cups_;
  Waiting waiting_;
  http_t* http_ = nullptr;
  std::string connectError_;
};

bool isSharedFromElsewhere(const CupsLibrary& cups, const cups_dest_t& dest) {
  const char* type = cups.getOption("printer-type", dest.num_options, dest.options);
  const long bits = type ? std::strtol(type, nullptr, 10) : 0;
  return (bits & (CUPS_PRINTER_REMOTE | CUPS_PRINTER_DISCOVERED)) != 0;
}

}  // namespace

Result<std::vector<PrinterEntry>> listLocalPrinters(RunControl& control) {
  auto loaded = cupsLibrary();
  if (!loaded) return loaded.error();
  const CupsLibrary& cups = **loaded;
  Spooler spooler(cups, control);
  if (!spooler.http()) return Error{spooler.unreachable()};
  cups_dest_t* dests = nullptr;
  const int count = cups.getDests(spooler.http(), &dests);
  // No queue at all is an answer too; only a failed request is an error. A list got after a
  // given-up wait may lack queues, so it is none.
  if (spooler.gaveUp() || (count == 0 && cups.lastError() > IPP_STATUS_OK_EVENTS_COMPLETE &&
                           cups.lastError() != IPP_STATUS_ERROR_NOT_FOUND)) {
    cups.freeDests(count, dests);
    return Error{"プリンタの一覧を取得できません（" + spooler.lastError() + "）"};
  }
  std::vector<PrinterEntry> printers;
  for (int i = 0; i < count && printers.size() < kMaxListedPrinters; ++i) {
    const cups_dest_t& dest = dests[i];
    if (dest.instance || isSharedFromElsewhere(cups, dest)) continue;
    const char* uri = cups.getOption("device-uri", dest.num_options, dest.options);
    printers.push_back({dest.name, uri ? uri : ""});
  }
  cups.freeDests(count, dests);
  return printers;
}

Result<std::vector<PrinterEntry>> listLocalPrinters() {
  RunControl control(kListLimit);
  return listLocalPrinters(control);
}

CupsRoute::CupsRoute(std::string queue) : queue_(std::move(queue)) {}

SendOutcome CupsRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  const auto failed = [](std::string detail) {
    return SendOutcome::failed(std::string(kSpoolFailedMessage), std::move(detail));
  };
  auto loaded = cupsLibrary();
  if (!loaded) return failed(loaded.message());
  const CupsLibrary& cups = **loaded;
  const char* queue = queue_.c_str();
  const std::string title(kJobTitle);
  Spooler spooler(cups, control);
  if (!spooler.http()) return failed(spooler.unreachable());
  const int job = cups.createJob(spooler.http(), queue, title.c_str(), 0, nullptr);
  if (job == 0) return failed(spooler.lastError());

  // Leaves no job behind that holds part of the command or waits for the rest of it.
  const auto abandon = [&](std::string detail) {
    spooler.close();  // breaks off the document upload
    Spooler again(cups, control);
    if (again.http()) cups.cancelJob(again.http(), queue, job, 0);
    return failed(std::move(detail));
  };
  if (cups.startDocument(spooler.http(), queue, job, title.c_str(), CUPS_FORMAT_RAW, 1) !=
      HTTP_STATUS_CONTINUE)
    return abandon(spooler.lastError());
  control.reportProgress(0, image.size());
  for (std::size_t at = 0; at < image.size(); at += kWriteChunk) {
    if (control.shouldStop()) return abandon(control.cancelled() ? "中止しました" : "時間切れ");
    const std::size_t size = std::min(kWriteChunk, image.size() - at);
    const auto* data = reinterpret_cast<const char*>(image.data() + at);
    if (cups.writeRequestData(spooler.http(), data, size) != HTTP_STATUS_CONTINUE)
      return abandon(spooler.lastError());
    control.reportProgress(at + size, image.size());
  }
  if (cups.finishDocument(spooler.http(), queue) > IPP_STATUS_OK_EVENTS_COMPLETE)
    return abandon(spooler.lastError());
  control.reportHandedOver();
  // Accepted is not printed: the device may be off or refuse the connection.
  const auto status = followJob(cups, spooler.http(), job, control);
  return spooledJobOutcome(job, status, status ? std::string() : spooler.lastError());
}

}  // namespace drovik::transport
