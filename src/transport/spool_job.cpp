#include "transport/spool_job.h"

#include <cstring>
#include <iterator>
#include <memory>
#include <span>
#include <thread>

#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

struct IppDelete {
  const CupsLibrary* cups;
  void operator()(ipp_t* ipp) const { cups->deleteIpp(ipp); }
};
using Response = std::unique_ptr<ipp_t, IppDelete>;

bool hasEnded(ipp_jstate_t state) { return state >= IPP_JSTATE_CANCELED; }

// Asks for the attributes `wanted` of the job or printer `uri` names; nothing on a failure.
Response ask(const CupsLibrary& cups, http_t* http, ipp_op_t operation, const char* uriName,
             const std::string& uri, std::span<const char* const> wanted) {
  ipp_t* request = cups.newRequest(operation);
  cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.c_str());
  cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cups.user());
  cups.addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(wanted.size()), nullptr, wanted.data());
  Response response(cups.doRequest(http, request, "/"), IppDelete{&cups});  // frees the request
  if (cups.lastError() > IPP_STATUS_OK_EVENTS_COMPLETE) response.reset();
  return response;
}

std::string textOf(const CupsLibrary& cups, ipp_t* response, const char* name) {
  ipp_attribute_t* attribute = cups.findAttribute(response, name, IPP_TAG_ZERO);
  const char* text = attribute ? cups.getString(attribute, 0, nullptr) : nullptr;
  return text ? text : "";
}

std::optional<JobStatus> askAboutJob(const CupsLibrary& cups, http_t* http, int job) {
  static const char* const kWanted[] = {"job-state", "job-state-message",
                                        "job-printer-state-message", "job-printer-uri"};
  const Response response = ask(cups, http, IPP_OP_GET_JOB_ATTRIBUTES, "job-uri",
                                "ipp://localhost/jobs/" + std::to_string(job), kWanted);
  ipp_attribute_t* state =
      response ? cups.findAttribute(response.get(), "job-state", IPP_TAG_ENUM) : nullptr;
  if (!state) return std::nullopt;
  JobStatus status;
  status.state = static_cast<ipp_jstate_t>(cups.getInteger(state, 0));
  // cupsd leaves the job's own message out and keeps the device's last words instead.
  status.message = textOf(cups, response.get(), "job-state-message");
  if (status.message.empty())
    status.message = textOf(cups, response.get(), "job-printer-state-message");
  status.printerUri = textOf(cups, response.get(), "job-printer-uri");
  return status;
}

// A job waits for a stopped queue without a word of it: the queue says why it stopped.
void askAboutPrinter(const CupsLibrary& cups, http_t* http, JobStatus& status) {
  static const char* const kWanted[] = {"printer-state", "printer-state-message"};
  if (status.printerUri.empty()) return;
  const Response response =
      ask(cups, http, IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", status.printerUri, kWanted);
  ipp_attribute_t* state =
      response ? cups.findAttribute(response.get(), "printer-state", IPP_TAG_ENUM) : nullptr;
  if (!state || cups.getInteger(state, 0) != IPP_PSTATE_STOPPED) return;
  status.printerStopped = true;
  if (std::string why = textOf(cups, response.get(), "printer-state-message"); !why.empty())
    status.message = std::move(why);
}

// Waits one poll interval, or less when the run stops.
void pause(const RunControl& control) {
  constexpr std::chrono::milliseconds kSlice{25};
  for (std::chrono::milliseconds waited{0}; waited < kJobPollInterval && !control.shouldStop();
       waited += kSlice)
    std::this_thread::sleep_for(kSlice);
}

std::string withWords(std::string what, const std::string& words) {
  return words.empty() ? what : what + ": " + words;
}

}  // namespace

std::optional<JobStatus> followJob(const CupsLibrary& cups, http_t* http, int job,
                                   RunControl& control) {
  for (;;) {
    auto status = askAboutJob(cups, http, job);
    if (status && !hasEnded(status->state) && control.shouldStop())
      askAboutPrinter(cups, http, *status);
    if (!status || hasEnded(status->state) || control.shouldStop()) return status;
    pause(control);
  }
}

SendOutcome spooledJobOutcome(int job, const std::optional<JobStatus>& status,
                              const std::string& unknown) {
  const std::string number = std::to_string(job);
  const auto queued = [job](std::string detail) {
    return SendOutcome::queued(spoolQueuedMessage(job), std::move(detail));
  };
  const auto failed = [](std::string detail) {
    return SendOutcome::failed(std::string(kSpoolFailedMessage), std::move(detail));
  };
  if (!status) return queued(withWords("ジョブの状態を確認できません", unknown));
  const std::string& words = status->message;
  switch (status->state) {
    case IPP_JSTATE_COMPLETED:
      return SendOutcome::delivered(std::string(kSpoolSentMessage), "ジョブ " + number);
    case IPP_JSTATE_ABORTED:
      return failed(withWords("印刷システムがジョブ " + number + " を中止しました", words));
    case IPP_JSTATE_CANCELED:
      return failed(withWords("ジョブ " + number + " は取り消されました", words));
    case IPP_JSTATE_HELD:
      return queued(withWords("ジョブは保留されています", words));
    case IPP_JSTATE_PROCESSING:
      return queued(withWords("ジョブは印刷中です", words));
    case IPP_JSTATE_STOPPED:
      return queued(withWords("ジョブは停止しています", words));
    case IPP_JSTATE_PENDING:
      break;
  }
  // A stopped queue keeps the job pending rather than aborting it.
  return queued(withWords(
      status->printerStopped ? "プリンタが停止しています" : "ジョブは印刷待ちです", words));
}

std::string spoolQueuedMessage(int job) {
  return "印刷システムに送信しましたが、まだ印刷されていません（ジョブ " + std::to_string(job) +
         "）";
}

}  // namespace drovik::transport
