#include "discovery/sweep.h"

#include <gtest/gtest.h>

#include "discovery/sweep_targets.h"
#include "peers/loopback_listener.h"
#include "peers/scripted_greeter.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

using test::ScriptedGreeter;
using namespace std::chrono_literals;

// Printers of a block of their own, all on one port as printers are on 21.
class SweepTest : public ::testing::Test {
 protected:
  ScriptedGreeter oldPrinter{
      "220 8630-H05 FTP server ready.\r\n", ScriptedGreeter::After::Stall, {127, 1, 9, 1}};
  int port = oldPrinter.port();
  ScriptedGreeter newPrinter{
      "220 8630-M FTP server ready.\r\n", ScriptedGreeter::After::Stall, {127, 1, 9, 2}, port};
  ScriptedGreeter otherServer{
      "220 (vsFTPd 3.0.3)\r\n", ScriptedGreeter::After::Close, {127, 1, 9, 3}, port};
  test::LoopbackListener mute{{127, 1, 9, 4}, port};
  // 127.1.9.5: nothing listens.

  void SetUp() override {
    ASSERT_TRUE(oldPrinter.listening() && newPrinter.listening() && otherServer.listening() &&
                mute.listening());
  }
  SweepOptions options() const {
    SweepOptions options;
    options.ftpPort = static_cast<std::uint16_t>(port);
    options.timeout = 500ms;
    return options;
  }
  std::vector<Ipv4Octets> block() const { return sweepAddresses({"127.1.9.1-5"}, {})->addresses; }
};

TEST_F(SweepTest, FindsEachPrinterWithItsModelInAddressOrder) {
  transport::RunControl run(1h);
  SweepCounters counters;
  auto report = sweep(block(), options(), run, &counters);
  ASSERT_TRUE(report) << report.message();
  ASSERT_EQ(report->found.size(), 3u);
  EXPECT_EQ(report->found[0].model.name, "8630-H05");
  EXPECT_EQ(report->found[1].model.kind, PrinterModel::Kind::New);
  EXPECT_EQ(report->found[2].model.kind, PrinterModel::Kind::Other);
  EXPECT_EQ(report->found[2].answeredBy(), "ftp");
  // The mute listener is worth a note; the closed address is just silent.
  ASSERT_EQ(report->notes.size(), 1u);
  EXPECT_TRUE(report->notes[0].starts_with("127.1.9.4: ")) << report->notes[0];
  EXPECT_EQ(sweepSummary(*report),
            "5 件を調べ、3 台が応答しました（旧機種 1、8630-M 1、その他 1、応答なし 2）");
  EXPECT_EQ(counters.settled.load(), 5u);
  EXPECT_EQ(counters.answered.load(), 3u);
  EXPECT_FALSE(report->cancelled);
}

TEST_F(SweepTest, OneProbeAtATimeFindsTheSame) {
  SweepOptions serial = options();
  serial.jobs = 1;
  serial.rate = 1000;
  transport::RunControl run(1h);
  auto report = sweep(block(), serial, run);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->found.size(), 3u);
}

TEST_F(SweepTest, ACancelledSweepEndsWithWhatItHasAndSaysSo) {
  // A rate of one a second keeps most of the block waiting when the cancel comes.
  SweepOptions slow = options();
  slow.rate = 1;
  transport::RunControl run(1h);
  SweepCounters counters;
  std::jthread canceller([&] {
    while (counters.settled.load() == 0) std::this_thread::yield();
    run.cancel();
  });
  auto report = sweep(block(), slow, run, &counters);
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->cancelled);
  EXPECT_LT(report->asked, 5u);
  EXPECT_TRUE(sweepSummary(*report).starts_with("中止しました: 5 件のうち "));
}

}  // namespace
}  // namespace drovik::discovery
