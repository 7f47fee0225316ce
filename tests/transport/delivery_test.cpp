// The one delivery: its outcome, the history record and the remembered choice on each path,
// and what a refused address or a held transfer lock leaves untouched.
#include "transport/delivery.h"

#include <gtest/gtest.h>

#include "history/history_file.h"
#include "support/fake_send_route.h"
#include "support/temp_dir.h"

namespace drovik::transport {
namespace {

const std::vector<std::uint8_t> kImage = {0x1B, 0x40, 0x0D};

// Hands every send to the test's fake route and notes which target it was made for.
struct FakeRoutes {
  std::unique_ptr<test::FakeSendRoute> route =
      std::make_unique<test::FakeSendRoute>(SendOutcome::delivered("設定を送信できました"));
  std::vector<std::string> made;

  RouteFactory factory() {
    return [this](const Target& target, const std::filesystem::path&) {
      made.push_back(target.text());
      return std::unique_ptr<SendRoute>(std::make_unique<Forwarding>(*route));
    };
  }
  struct Forwarding final : SendRoute {
    explicit Forwarding(SendRoute& to) : to_(to) {}
    SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override {
      return to_.send(image, control);
    }
    SendRoute& to_;
  };
};

struct DeliveryTest : ::testing::Test {
  test::TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};
  FakeRoutes fakes;

  SendOutcome deliver(const Target& target, DeliverySettings settings, RunControl& control) {
    settings.routes = fakes.factory();
    return CommandDelivery(store, std::move(settings))
        .deliver(target, {"本社", "8630-M", kImage}, control);
  }
  SendOutcome deliver(const Target& target) {
    RunControl control;
    return deliver(target, DeliverySettings::inDataFolder(store), control);
  }
  std::vector<history::Record> records() {
    auto contents = history::HistoryFile(dir.path()).read();
    return contents ? contents->records : std::vector<history::Record>{};
  }
};

TEST_F(DeliveryTest, QueuedReachesThePrinterAndIsRecordedAndRemembered) {
  fakes.route = std::make_unique<test::FakeSendRoute>(
      SendOutcome::queued("まだ印刷されていません", "ジョブ 3"));
  const SendOutcome outcome = deliver(Target::spooler("Office"));
  EXPECT_TRUE(outcome.reached());
  EXPECT_EQ(outcome.delivery, Delivery::Queued);
  EXPECT_EQ(outcome.told(), "まだ印刷されていません（ジョブ 3）");
  EXPECT_EQ(*store.printerDriverName(), "Office");
  const auto recorded = records();
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0].operation, history::operation::kSend);
  EXPECT_EQ(recorded[0].target, "cups:Office");
  EXPECT_EQ(recorded[0].outcome, history::kOutcomeQueued);
  EXPECT_EQ(recorded[0].profile, "本社");
  EXPECT_EQ(recorded[0].bytes, kImage.size());
}

TEST_F(DeliveryTest, EachPathRecordsAndRemembersItsChoice) {
  EXPECT_TRUE(deliver(Target::network({127, 0, 0, 9})).reached());
  EXPECT_EQ(*store.sendAddress(), (Ipv4Octets{127, 0, 0, 9}));
  fakes.route =
      std::make_unique<test::FakeSendRoute>(SendOutcome::failed("設定を送信できません", "no port"));
  EXPECT_FALSE(deliver(Target::parallel()).reached());
  EXPECT_EQ(fakes.made, (std::vector<std::string>{"ftp:127.0.0.9", "parallel"}));
  const auto recorded = records();
  ASSERT_EQ(recorded.size(), 2u);
  EXPECT_EQ(recorded[0].outcome, history::kOutcomeOk);
  EXPECT_EQ(recorded[1].target, "parallel");
  EXPECT_EQ(recorded[1].outcome, history::kOutcomeFailed);

  // A fleet row's target is its plan's: recorded as the row's send, never remembered.
  fakes.route = std::make_unique<test::FakeSendRoute>(SendOutcome::delivered({}));
  RunControl control;
  EXPECT_TRUE(deliver(Target::spooler("Row"), DeliverySettings::forFleetRow(dir / "work"), control)
                  .reached());
  EXPECT_NE(*store.printerDriverName(), "Row");
  EXPECT_EQ(records().back().operation, history::operation::kFleetSend);
}

TEST_F(DeliveryTest, ARefusedAddressSendsRemembersAndRecordsNothing) {
  ASSERT_TRUE(store.setSendAddress({10, 0, 0, 1}).isOk());
  const SendOutcome outcome = deliver(Target::network({192, 168, 1, 300}));
  EXPECT_FALSE(outcome.reached());
  EXPECT_NE(outcome.message.find("192.168.1.300"), std::string::npos) << outcome.message;
  EXPECT_TRUE(fakes.made.empty());
  EXPECT_EQ(*store.sendAddress(), (Ipv4Octets{10, 0, 0, 1}));
  EXPECT_TRUE(records().empty());
}

TEST_F(DeliveryTest, ATransferLockNotHadSendsAndRemembersNothing) {
  auto held = TransferLock::tryAcquire(dir.path());
  ASSERT_TRUE(held.has_value());
  RunControl cancelled;
  cancelled.cancel();
  const SendOutcome outcome =
      deliver(Target::network({127, 0, 0, 9}), DeliverySettings::inDataFolder(store), cancelled);
  EXPECT_FALSE(outcome.reached());
  EXPECT_FALSE(outcome.message.empty());
  EXPECT_TRUE(fakes.made.empty());
  EXPECT_TRUE(fakes.route->sent().empty());
  EXPECT_EQ(*store.sendAddress(), (Ipv4Octets{0, 0, 0, 0}));
  const auto recorded = records();
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0].outcome, history::kOutcomeFailed);
}

}  // namespace
}  // namespace drovik::transport
