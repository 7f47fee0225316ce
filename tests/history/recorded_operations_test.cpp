// What the profile operations leave in the history: one record per change that happened,
// named as the files name the profile, none for what was refused or only rehearsed, and a
// warning instead of a failure when the history cannot be written.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "history/history_file.h"
#include "history/history_time.h"
#include "history/recorder.h"
#include "history/sha256.h"
#include "service/profile_service.h"
#include "support/temp_dir.h"
#include "transport/command_file.h"

namespace drovik {
namespace {

namespace fs = std::filesystem;

const std::string kCorpus = std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/";
const std::string kAllImage = kCorpus + "rnvr_all_1758.bin";
const std::string kNetworkImage = kCorpus + "rnvr_nw_13.bin";

class RecordedOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override { history::takeWarnings(); }  // another test's leftovers

  std::vector<history::Record> records() {
    auto contents = history::HistoryFile(dir.path()).read();
    EXPECT_TRUE(contents) << contents.message();
    if (!contents) return {};
    EXPECT_TRUE(contents->notes.empty());
    return contents->records;
  }
  // operation, profile and model of each record.
  std::vector<std::string> summary() {
    std::vector<std::string> lines;
    for (const auto& record : records())
      lines.push_back(record.operation + " " + record.profile + " " + record.model);
    return lines;
  }

  test::TempDir dir;
  ProfileService service{StorePaths::inDirectory(dir.path())};
  ProfileModel model;
};

TEST_F(RecordedOperationsTest, EachChangeLeavesOneRecordNamedAsTheFilesNameIt) {
  const std::time_t start = std::time(nullptr);
  ASSERT_TRUE(service.registerProfile(model, "Office", OnExisting::Refuse));
  ASSERT_TRUE(service.registerProfile(model, "OFFICE", OnExisting::Overwrite));
  ASSERT_TRUE(service.loadProfile(model, "office"));
  model.setUserName(0, "経理");
  ASSERT_TRUE(service.saveChanges(model, "office"));
  ASSERT_TRUE(service.migrateProfile("office", "Office-M", OnExisting::Refuse));
  ASSERT_TRUE(service.decodeIntoProfile(model, "Printer", kAllImage, kNetworkImage));
  ASSERT_TRUE(service.registerDecoded(model, "Printer", kAllImage, kNetworkImage));
  auto written = transport::writeCommandFile(service, model, "office-m", dir / "out.sib");
  ASSERT_TRUE(written);
  ASSERT_TRUE(service.deleteProfile("OFFICE"));

  EXPECT_EQ(summary(),
            (std::vector<std::string>{"register Office 8630-GHJK", "overwrite Office 8630-GHJK",
                                      "save Office 8630-GHJK", "migrate Office-M 8630-M",
                                      "decode Printer 8630-GHJK", "decode Printer 8630-GHJK",
                                      "command-file Office-M 8630-M", "delete Office 8630-GHJK"}));
  const auto all = records();
  EXPECT_EQ(all[3].message, "「office」から移行");
  EXPECT_EQ(all[4].message, "プリンタの設定を新規登録");
  EXPECT_EQ(all[5].message, "プリンタの設定で上書き");
  const history::Record& file = all[6];
  EXPECT_EQ(file.target, (dir / "out.sib").string());
  EXPECT_EQ(file.bytes, written->image.bytes.size());
  EXPECT_EQ(file.sha256, history::sha256Hex(written->image.bytes));
  EXPECT_EQ(file.outcome, "ok");
  for (const auto& record : all) {
    EXPECT_FALSE(record.user.empty());
    EXPECT_FALSE(record.host.empty());
    EXPECT_EQ(record.program.rfind("drovik_tests ", 0), 0u) << record.program;
    const auto time = history::parseTimePoint(record.time);
    ASSERT_TRUE(time) << record.time;
    EXPECT_GE(*time, start);
    EXPECT_LE(*time, std::time(nullptr));
  }
  EXPECT_TRUE(history::takeWarnings().empty());
}

TEST_F(RecordedOperationsTest, RefusedAndRehearsedOperationsLeaveNoRecord) {
  ASSERT_TRUE(service.registerProfile(model, "Office", OnExisting::Refuse));
  EXPECT_FALSE(service.registerProfile(model, "office", OnExisting::Refuse));
  EXPECT_FALSE(service.registerProfile(model, "[bad]", OnExisting::Refuse));
  EXPECT_FALSE(service.deleteProfile("Gone"));
  EXPECT_FALSE(service.saveChanges(model, "Gone"));
  EXPECT_FALSE(service.migrateProfile("Gone", "Gone-M", OnExisting::Refuse));
  EXPECT_FALSE(transport::writeCommandFile(service, model, "Gone", dir / "out.sib"));
  MigrationStage reached = MigrationStage::Register;
  EXPECT_TRUE(
      service.rehearseMigration(model, "Printer", "Printer-M", kAllImage, kNetworkImage, reached));
  EXPECT_EQ(summary(), std::vector<std::string>{"register Office 8630-GHJK"});
}

TEST_F(RecordedOperationsTest, FailedCommandFileIsRecordedAsFailed) {
  ASSERT_TRUE(service.registerProfile(model, "Office", OnExisting::Refuse));
  const fs::path nowhere = dir / "missing-folder" / "out.sib";
  EXPECT_FALSE(transport::writeCommandFile(service, model, "Office", nowhere));
  const auto all = records();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].operation, "command-file");
  EXPECT_EQ(all[1].target, nowhere.string());
  EXPECT_EQ(all[1].outcome, "failed");
  EXPECT_FALSE(all[1].message.empty());
}

TEST_F(RecordedOperationsTest, UnwritableHistoryWarnsAndTheChangeStands) {
  fs::create_directory(dir / history::kHistoryFileName);  // no file can be appended there
  ASSERT_TRUE(service.registerProfile(model, "Office", OnExisting::Refuse));
  EXPECT_TRUE(service.findProfile("Office"));
  auto written = transport::writeCommandFile(service, model, "Office", dir / "out.sib");
  ASSERT_TRUE(written);
  EXPECT_EQ(fs::file_size(dir / "out.sib"), written->image.bytes.size());
  ASSERT_TRUE(service.deleteProfile("Office"));
  EXPECT_FALSE(service.findProfile("Office"));

  const auto warnings = history::takeWarnings();
  ASSERT_EQ(warnings.size(), 3u);
  for (const std::string& warning : warnings) {
    EXPECT_NE(warning.find("履歴を記録できませんでした"), std::string::npos) << warning;
    EXPECT_NE(warning.find((dir / history::kHistoryFileName).string()), std::string::npos);
  }
  EXPECT_TRUE(history::takeWarnings().empty());  // each warning is said once
}

}  // namespace
}  // namespace drovik
