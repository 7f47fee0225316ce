// The spooler route against a private cupsd whose queue's device is a TCP listener, and
// against print servers that refuse, never answer or hang up.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "peers/loopback_listener.h"
#include "peers/private_cups.h"
#include "transport/background_run.h"
#include "transport/cups_route.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

using std::chrono::seconds;

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
  EXPECT_TRUE(outcome.sent) << outcome.detail;
  EXPECT_EQ(outcome.message, "");
  EXPECT_TRUE(device.bytes(seconds(15)) == std::string(image.begin(), image.end()));

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
  EXPECT_FALSE(outcome.sent);
  EXPECT_EQ(outcome.message, kSpoolFailedMessage);
}

TEST_F(Spooler, AQueueWhoseDeviceDoesNotAnswerStillTakesTheJobPromptly) {
  ASSERT_TRUE(cups.addQueue("Silent", test::unusedLoopbackPort()));
  const auto start = std::chrono::steady_clock::now();
  RunControl control;
  EXPECT_TRUE(CupsRoute("Silent").send(everyItemImage(), control).sent);
  EXPECT_LT(std::chrono::steady_clock::now() - start, seconds(3));
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
            if (::poll(&request, 1, 2000) > 0) (void)::read(connection, buffer, sizeof buffer);
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
