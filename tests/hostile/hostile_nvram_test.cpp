// NVRAM images at and around the sizes the decoders draw lines at, filled with every byte
// value: through the file reader and both decoders, and through drovik-cli decode-nvram.
// A refused image leaves the profile and the profile files exactly as they were.
#include <gtest/gtest.h>

#include "hostile/cli_runner.h"
#include "hostile/complete_profile.h"
#include "hostile/file_checks.h"
#include "hostile/time_guard.h"
#include "model/profile_store.h"
#include "nvram/nvram_decoder.h"
#include "nvram/nvram_files.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

struct SizeCase {
  std::size_t size;
  bool read;            // readImageFile accepts it
  bool allDecodes;      // long enough for the all-settings image, not too long
  bool networkDecodes;  // the same for the network image
};

const SizeCase kSizes[] = {
    {0, true, false, false},
    {1757, true, false, true},
    {102400, true, true, true},
    {102401, false, false, false},
};

std::vector<std::uint8_t> patterned(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
  return bytes;
}

bool sameProfile(const ProfileModel& a, const ProfileModel& b) {
  return a.text.selectUser == b.text.selectUser && a.text.userName == b.text.userName &&
         a.text.paper == b.text.paper && a.text.common == b.text.common &&
         a.text.iface == b.text.iface &&
         a.values.iface.ifChgTimeText == b.values.iface.ifChgTimeText;
}

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.size << " bytes"; }

class HostileNvramTest : public ::testing::TestWithParam<SizeCase> {
 protected:
  TempDir dir;
};

}  // namespace

TEST_P(HostileNvramTest, DecodersTakeOrRefuseTheImageWhole) {
  const SizeCase& c = GetParam();
  const TimeGuard guard("HostileNvram " + std::to_string(c.size), kCaseTimeLimit);
  const std::vector<std::uint8_t> bytes = patterned(c.size);
  writeFile(dir / "image.bin", std::string(bytes.begin(), bytes.end()));

  auto read = nvram::readImageFile(dir / "image.bin");
  ASSERT_EQ(read.isOk(), c.read);
  EXPECT_EQ(read ? *read : std::vector<std::uint8_t>(),
            c.read ? bytes : std::vector<std::uint8_t>());
  EXPECT_EQ(read ? "" : read.message(), c.read ? "" : nvram::kImageTooLargeMessage);

  // The decoders refuse on their own too, whatever handed them the bytes.
  const ProfileModel original = completeProfile(3);
  ProfileModel model = original;
  auto all = nvram::decodeAllImage(model, bytes);
  EXPECT_EQ(all.isOk(), c.allDecodes);
  EXPECT_TRUE(all || sameProfile(model, original)) << "a refused image changed the profile";
  model = original;
  const Status network = nvram::decodeNetworkImage(model, bytes);
  EXPECT_EQ(network.isOk(), c.networkDecodes);
  EXPECT_TRUE(network || sameProfile(model, original));
}

TEST_P(HostileNvramTest, DecodeNvramCommandFailsCleanlyAndSavesNothingRefused) {
  const SizeCase& c = GetParam();
  const TimeGuard guard("HostileNvram cli " + std::to_string(c.size), kCaseTimeLimit);
  const std::vector<std::uint8_t> bytes = patterned(c.size);
  writeFile(dir / "image.bin", std::string(bytes.begin(), bytes.end()));
  std::string good(1758, '\0');
  good[1] = 30;  // interface switch time
  writeFile(dir / "good.bin", good);
  const ProfileStore store(StorePaths::inDirectory(dir.path()));
  ASSERT_TRUE(test::saveSection(store, completeProfile(3), "P"));
  ASSERT_TRUE(test::writeIndexEntry(store, 0, "P", "8630-GHJK"));
  const FolderSnapshot original = snapshotFolder(dir.path());

  const std::string image = (dir / "image.bin").string();
  const std::string other = (dir / "good.bin").string();
  const std::pair<std::vector<std::string>, bool> runs[] = {
      {{"decode-nvram", "--all", image, "--nw", other}, c.allDecodes},
      {{"decode-nvram", "--all", other, "--nw", image}, c.networkDecodes},
  };
  for (const auto& [args, decodes] : runs) {
    const ProcessResult r = runCli(args);
    ASSERT_TRUE(endedNormally(r)) << r.err;
    EXPECT_EQ(r.exitCode, decodes ? 0 : 1) << r.err;
    if (!decodes) {
      EXPECT_NE(r.err.find("drovik-cli: "), std::string::npos);
      EXPECT_EQ(r.out, "");
    }
  }
  if (c.allDecodes) return;  // the patterned values need not pass the setting checks
  std::vector<std::string> into = {
      "--data-dir", dir.path().string(), "decode-nvram", "--all", image, "--nw", other, "--into",
      "P"};
  const ProcessResult r = runCli(into);
  ASSERT_TRUE(endedNormally(r)) << r.err;
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(sameFolder(original, snapshotFolder(dir.path())));
}

INSTANTIATE_TEST_SUITE_P(HostileNvram, HostileNvramTest, ::testing::ValuesIn(kSizes),
                         [](const auto& param) {
                           return std::to_string(param.param.size) + "Bytes";
                         });
