// The data folder's transfer lock: a second transfer waits for the first, within its bound and
// until cancelled; the wait costs the transfer none of its own time; the folder lock of the
// profile transactions is another lock.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "files/folder_lock.h"
#include "support/fake_send_route.h"
#include "support/temp_dir.h"
#include "transport/exclusive_transfer.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

const std::vector<std::uint8_t> kLockedImage = {1, 2, 3};

TEST(TransferLock, ASendWaitsForTheTransferBeforeItWithoutLosingItsOwnTime) {
  TempDir dir;
  RunControl first;
  auto held = TransferLock::acquire(dir.path(), first);
  ASSERT_TRUE(held.isOk());

  std::promise<void> waiting;
  int notices = 0;
  auto owned = std::make_unique<test::FakeSendRoute>(
      SendOutcome::delivered(std::string(kNetworkSentMessage)));
  test::FakeSendRoute* route = owned.get();
  const WaitNotice notice = [&] {
    if (++notices == 1) waiting.set_value();
  };
  RunControl control(300ms);
  auto sending = std::async(std::launch::async, [&] {
    LockedTransfer run(dir.path(), control, notice);
    if (!run.held()) return SendOutcome::failed(run.refusal());
    return route->send(kLockedImage, run.control());
  });
  waiting.get_future().wait();
  EXPECT_TRUE(route->sent().empty());
  // Held past the second run's own limit: it still gets all of it once the first ends.
  while (!control.expired()) std::this_thread::sleep_for(5ms);
  held = Error{"released"};  // the first transfer ends

  const SendOutcome outcome = sending.get();
  EXPECT_TRUE(outcome.reached()) << outcome.detail;
  EXPECT_EQ(notices, 1);
  ASSERT_EQ(route->sent().size(), 1u);
  EXPECT_EQ(route->sent()[0], kLockedImage);
}

TEST(TransferLock, GivesUpAfterItsBoundOrWhenCancelled) {
  TempDir dir;
  RunControl first;
  auto held = TransferLock::acquire(dir.path(), first);
  ASSERT_TRUE(held.isOk());
  EXPECT_FALSE(TransferLock::tryAcquire(dir.path()).has_value());

  int notices = 0;
  RunControl second;
  const auto timedOut = TransferLock::acquire(
      dir.path(), second, [&] { ++notices; }, 50ms);
  ASSERT_FALSE(timedOut.isOk());
  EXPECT_NE(timedOut.message().find("実行できませんでした"), std::string::npos);
  EXPECT_NE(timedOut.message().find(std::string(kTransferLockName)), std::string::npos);
  EXPECT_EQ(notices, 1);

  // A cancelled retrieval gives up at once and writes nothing into the folder.
  RunControl cancelled;
  cancelled.cancel();
  const RetrievalResult result = retrieveExclusively(dir.path(), {127, 0, 0, 1}, "pw", cancelled);
  EXPECT_FALSE(result.outcome.retrieved());
  EXPECT_NE(result.outcome.message.find("中断しました"), std::string::npos);
  EXPECT_FALSE(result.images.all.isOk());
  EXPECT_FALSE(std::filesystem::exists(dir / "rftpcmd.ftp"));

  held = Error{"released"};
  EXPECT_TRUE(TransferLock::tryAcquire(dir.path()).has_value());
}

TEST(TransferLock, IsNotTheFolderLockOfTheProfiles) {
  TempDir dir;
  RunControl control;
  auto profiles = FolderLock::acquire(dir.path());
  ASSERT_TRUE(profiles.isOk());
  // Not waited for: a transfer never waits for a profile change, nor the other way round.
  auto transfer = TransferLock::acquire(dir.path(), control, {}, 0ms);
  EXPECT_TRUE(transfer.isOk()) << transfer.message();
  profiles = Error{"released"};
  EXPECT_TRUE(FolderLock::acquire(dir.path()).isOk());
}

}  // namespace
}  // namespace drovik::transport
