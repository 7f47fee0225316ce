// Damaged command binaries, through InspectCommandImage and drovik-cli dump: the fault is
// named, the exit status is non-zero, nothing crashes and the file is left as it was.
#include <gtest/gtest.h>

#include "command/command_test_support.h"
#include "command/image_dump.h"
#include "hostile/cli_runner.h"
#include "hostile/time_guard.h"
#include "support/temp_dir.h"

using namespace drovik;
using namespace drovik::hostile;
using drovik::command_test::Bytes;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

// A complete GHJK image: every user, names, interface.
const Bytes& fullImage() {
  static const Bytes image =
      command_test::buildImage(SettingProfile::defaults(), CheckFlagSet{}, CommandVariant::Ghjk);
  return image;
}

Bytes withLength(std::uint16_t length) {
  Bytes bytes = fullImage();
  bytes[9] = static_cast<std::uint8_t>(length >> 8);
  bytes[10] = static_cast<std::uint8_t>(length & 0xFF);
  return bytes;
}

// Cut `into` bytes after the start of the first record with the given function code.
Bytes cutInsideRecord(std::uint8_t code, std::size_t into) {
  const Bytes& full = fullImage();
  std::size_t offset = 11;
  while (offset < full.size() && full[offset] != code)
    offset += full[offset] == layout::kNameCode ? layout::kNameRecordSize : layout::kRecordSize;
  EXPECT_LT(offset, full.size());
  return Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(offset + into));
}

struct SibCase {
  const char* name;
  Bytes (*build)();
  const char* problem;  // in the listing
};

const SibCase kCases[] = {
    {"LengthOneTooLarge",
     [] { return withLength(static_cast<std::uint16_t>(fullImage().size() - 10)); },
     "長さフィールド"},
    {"LengthTooSmall", [] { return withLength(4); },
     "長さフィールド 4 によるとファイルは 15 バイト"},
    {"LengthLargest", [] { return withLength(0xFFFF); }, "長さフィールド 65535"},
    {"CutInsideASettingRecord", [] { return cutInsideRecord(0x10, 2); },
     "4 バイトのレコードが途中で切れています"},
    {"CutInsideANameRecord", [] { return cutInsideRecord(layout::kNameCode, 9); },
     "16 バイトのレコードが途中で切れています"},
    {"CutInsideTheTerminator", [] { return Bytes(fullImage().begin(), fullImage().end() - 2); },
     "途中で切れています"},
    {"CutInsideTheHeader", [] { return Bytes(fullImage().begin(), fullImage().begin() + 10); },
     "ヘッダーが途中で切れています"},
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const SibCase& c, std::ostream* os) { *os << c.name; }

class HostileSibTest : public ::testing::TestWithParam<SibCase> {
 protected:
  TempDir dir;
};

}  // namespace

TEST_P(HostileSibTest, DamageIsNamedAndTheExitStatusIsNonZero) {
  const SibCase& c = GetParam();
  const TimeGuard guard(std::string("HostileSib ") + c.name, kCaseTimeLimit);
  const Bytes bytes = c.build();
  const ImageInspection inspection = InspectCommandImage(bytes);
  EXPECT_FALSE(inspection.wellFormed);
  EXPECT_NE(inspection.listing.find(c.problem), std::string::npos) << inspection.listing;

  const auto file = dir / "damaged.sib";
  const std::string stored(bytes.begin(), bytes.end());
  writeFile(file, stored);
  const ProcessResult r = runCli({"dump", file.string()});
  ASSERT_TRUE(endedNormally(r)) << r.err;
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, inspection.listing);
  EXPECT_EQ(readFile(file), stored);
}

INSTANTIATE_TEST_SUITE_P(HostileSib, HostileSibTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HostileSib, FileTooLargeToListIsRefusedWithAMessage) {
  const TimeGuard guard("HostileSib.FileTooLargeToListIsRefusedWithAMessage", kCaseTimeLimit);
  const TempDir dir;
  std::string bytes(fullImage().begin(), fullImage().end());
  bytes.resize((std::size_t{16} << 20) + 1, '\0');
  writeFile(dir / "huge.sib", bytes);
  const ProcessResult r = runCli({"dump", (dir / "huge.sib").string()});
  ASSERT_TRUE(endedNormally(r)) << r.err;
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ファイルが大きすぎます"), std::string::npos) << r.err;
}
