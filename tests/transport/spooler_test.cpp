// The spooler route against a private cupsd whose queues' devices are TCP listeners that take
// the job, refuse the connection or never answer, and against print servers that refuse, never
// answer or hang up.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "peers/loopback_listener.h"
#include "peers/private_cups.h"
#include "support/background_run.h"
#include "transport/cups_route.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

using std::chrono::seconds;
using test::BackgroundRun;

std::vector<std::uint8_t> everyItemImage() {
  std::vector<std::uint8_t> image(2955);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 1);
  return image;
}

class Spooler : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(cups.problem(), ""); }
  test::PrivateCups cups;
};

TEST_F(Spooler, ListsItsQueuesWithTheirPortsAndHandsTheWholeImageToTheDevice) {
  test::ByteCapture device;
  ASSERT_TRUE(cups.addQueue("VAD_Printer", device.port()));
  auto printers = listLocalPrinters();
  ASSERT_TRUE(printers.isOk()) << printers.message();
  ASSERT_EQ(printers->size(), 1u);
  EXPECT_EQ((*printers)[0].name, "VAD_Printer");
  EXPECT_EQ((*printers)[0].port,
            "socket://127.0.0.1:" + std::to_string(device.port()) + "/?contimeout=5");

  const auto image = everyItemImage();
  CupsRoute route("VAD_Printer");
  BackgroundRun<SendOutcome> run([&](RunControl& control) { return route.send(image, control); });
  const SendOutcome outcome = run.take();
  // The job was followed until the device had the whole image.
  EXPECT_EQ(outcome.delivery, Delivery::Delivered) << outcome.detail;
  EXPECT_EQ(outcome.message, kSpoolSentMessage);
  EXPECT_TRUE(device.bytes(seconds(0)) == std::string(image.begin(), image.end()));

  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, "VAD_Printer", 0, CUPS_WHICHJOBS_ALL);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(jobs[0].title, "VAD Command");
  cupsFreeJobs(count, jobs);
}

TEST_F(Spooler, WithoutQueuesTheListIsEmptyAndASendIsReported) {
  auto printers = listLocalPrinters();
  ASSERT_TRUE(printers.isOk()) << printers.message();
  EXPECT_TRUE(printers->empty());
  RunControl control;
  const SendOutcome outcome = CupsRoute("Gone").send(everyItemImage(), control);
  EXPECT_FALSE(outcome.reached());
  EXPECT_EQ(outcome.message, kSpoolFailedMessage);
}

bool startsWith(const std::string& text, std::string_view start) {
  return text.rfind(start, 0) == 0;
}

int activeJobs(const char* queue) {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, queue, 0, CUPS_WHICHJOBS_ACTIVE);
  cupsFreeJobs(count, jobs);
  return count;
}

// A device that takes the connection and never answers keeps its job printing: at the end of
// the send it is queued, neither failed nor printed, and left to the spooler. So it is when the
// operator stops the waiting.
TEST_F(Spooler, AJobItsDeviceNeverFinishesIsQueuedWhenTheSendEnds) {
  test::LoopbackListener device;
  ASSERT_TRUE(device.listening());
  ASSERT_TRUE(cups.addQueue("Silent", device.port()));
  const auto image = everyItemImage();
  RunControl shortLimit(seconds(2));
  const SendOutcome outcome = CupsRoute("Silent").send(image, shortLimit);
  EXPECT_EQ(outcome.delivery, Delivery::Queued) << outcome.detail;
  EXPECT_TRUE(outcome.reached());
  EXPECT_TRUE(
      startsWith(outcome.message, "印刷システムに送信しましたが、まだ印刷されていません（ジョブ "))
      << outcome.message;
  EXPECT_TRUE(startsWith(outcome.detail, "ジョブは印刷中です")) << outcome.detail;
  EXPECT_EQ(activeJobs("Silent"), 1);

  // The second job waits behind the first until the operator gives up waiting.
  const auto start = std::chrono::steady_clock::now();
  BackgroundRun<SendOutcome> run(
      [&](RunControl& control) { return CupsRoute("Silent").send(image, control); },
      std::chrono::minutes(1));
  // Cancelled once the spooler has the whole job, the send is left waiting on it.
  while (!run.handedOver() && !run.finished())
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  run.cancel();
  const SendOutcome cancelled = run.take();
  EXPECT_EQ(cancelled.delivery, Delivery::Queued) << cancelled.detail;
  EXPECT_TRUE(startsWith(cancelled.detail, "ジョブは印刷待ちです")) << cancelled.detail;
  EXPECT_EQ(activeJobs("Silent"), 2);
  EXPECT_LT(std::chrono::steady_clock::now() - start, seconds(30));  // not held to the limit
}

// A device that refuses the connection fails the job after the backend's retry (about five
// seconds). By the abort-job policy the spooler aborts it: the send fails in the spooler's
// words. By stop-printer it stops the queue and keeps the job: queued, saying why the queue
// stopped.
TEST_F(Spooler, ARefusingDeviceFailsTheSendOrLeavesItQueuedByTheErrorPolicy) {
  const int refusing = test::unusedLoopbackPort();
  ASSERT_TRUE(cups.addQueue("Aborting", refusing, {"abort-job", 1}));
  ASSERT_TRUE(cups.addQueue("Stopping", refusing, {"stop-printer", 1}));
  const auto image = everyItemImage();
  BackgroundRun<SendOutcome> aborting(
      [&](RunControl& control) { return CupsRoute("Aborting").send(image, control); });
  BackgroundRun<SendOutcome> stopping(
      [&](RunControl& control) { return CupsRoute("Stopping").send(image, control); }, seconds(9));

  const SendOutcome aborted = aborting.take();
  EXPECT_EQ(aborted.delivery, Delivery::Failed) << aborted.detail;
  EXPECT_EQ(aborted.message, kSpoolFailedMessage);
  const std::string::size_type said = aborted.detail.find(" を中止しました: ");
  ASSERT_NE(said, std::string::npos) << aborted.detail;
  EXPECT_TRUE(startsWith(aborted.detail, "印刷システムがジョブ ")) << aborted.detail;
  EXPECT_GT(aborted.detail.size(), said + std::strlen(" を中止しました: "));  // the spooler's words

  const SendOutcome stopped = stopping.take();
  EXPECT_EQ(stopped.delivery, Delivery::Queued) << stopped.detail;
  EXPECT_TRUE(startsWith(stopped.detail, "プリンタが停止しています: ")) << stopped.detail;
  EXPECT_EQ(activeJobs("Stopping"), 1);
}

// Makes `server` this process's spooler, for every thread.
void useSpooler(const std::string& server) {
  ::setenv("CUPS_SERVER", server.c_str(), 1);
  cupsSetServer(server.c_str());
}

// A print server that takes each request and hangs up without a word.
class HangingUpServer {
 public:
  HangingUpServer()
      : thread_([this] {
          while (!stop_) {
            pollfd incoming{listener_.fd(), POLLIN, 0};
            if (::poll(&incoming, 1, 20) <= 0) continue;
            const int connection = ::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
            pollfd request{connection, POLLIN, 0};
            char buffer[4096];
            // What arrives is of no interest: the device only has to stop answering.
            if (::poll(&request, 1, 2000) > 0) {
              [[maybe_unused]] const ssize_t taken = ::read(connection, buffer, sizeof buffer);
            }
            ::close(connection);
          }
        }) {}
  ~HangingUpServer() {
    stop_ = true;
    thread_.join();
  }
  HangingUpServer(const HangingUpServer&) = delete;
  HangingUpServer& operator=(const HangingUpServer&) = delete;
  int port() const { return listener_.port(); }

 private:
  test::LoopbackListener listener_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// What the operator reads must name the cause; libcups alone would say "Success" for some.
void expectCause(const Result<std::vector<PrinterEntry>>& printers, const std::string& cause) {
  ASSERT_FALSE(printers.isOk());
  EXPECT_NE(printers.message().find(cause), std::string::npos) << printers.message();
  EXPECT_EQ(printers.message().find("Success"), std::string::npos) << printers.message();
}

TEST(SpoolerGone, APrintServerThatNeverAnswersIsGivenUpWithinTheLimitAndSaidSo) {
  test::LoopbackListener silent;  // takes the connection, never answers
  ASSERT_TRUE(silent.listening());
  useSpooler("127.0.0.1:" + std::to_string(silent.port()));
  RunControl shortLimit(std::chrono::milliseconds(300));
  expectCause(listLocalPrinters(shortLimit), "が時間内に応答しません");
  // The operator's cancel ends the wait as well, and is what is said.
  RunControl cancelled;
  cancelled.cancel();
  expectCause(listLocalPrinters(cancelled), "中止しました");
}

TEST(SpoolerGone, APrintServerThatHangsUpIsSaidToGiveNoAnswer) {
  HangingUpServer server;
  useSpooler("127.0.0.1:" + std::to_string(server.port()));
  RunControl control(seconds(5));
  expectCause(listLocalPrinters(control), "から応答がありません");
}

TEST(SpoolerGone, AnUnreachableSpoolerIsReportedNotIgnored) {
  useSpooler("127.0.0.1:" + std::to_string(test::unusedLoopbackPort()));
  expectCause(listLocalPrinters(), "に接続できません（");
  BackgroundRun<SendOutcome> run([](RunControl& control) {
    return CupsRoute("Any").send(std::vector<std::uint8_t>(10), control);
  });
  EXPECT_EQ(run.take().message, kSpoolFailedMessage);
}

}  // namespace
}  // namespace drovik::transport
