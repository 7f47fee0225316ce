#include "fleet/row_pipeline.h"

#include "fleet/row_archive.h"
#include "history/sha256.h"
#include "model/catalogue.h"
#include "nvram/nvram_decoder.h"
#include "transport/command_file.h"
#include "transport/delivery.h"
#include "transport/retrieval.h"

namespace drovik::fleet {
namespace {

// The steps of one row as they complete; the first failure ends the row.
class StepLog {
 public:
  explicit StepLog(RowResult& row) : row_(row) {}

  StepResult& ok(Step step, std::string message) {
    return add(step, StepOutcome::Ok, std::move(message));
  }
  StepResult& skipped(Step step, std::string message) {
    return add(step, StepOutcome::Skipped, std::move(message));
  }
  StepResult& add(Step step, StepOutcome outcome, std::string message) {
    row_.steps.push_back({step, outcome, std::move(message), std::nullopt, {}});
    return row_.steps.back();
  }
  // Marks the step failed and every later one skipped.
  StepResult& failed(Step step, std::string message) {
    row_.status = RowStatus::Failed;
    add(step, StepOutcome::Failed, std::move(message));
    const auto at = row_.steps.size() - 1;
    for (int later = static_cast<int>(step) + 1; later <= static_cast<int>(Step::Send); ++later)
      skipped(static_cast<Step>(later), "前の手順が失敗したため、実行していません");
    return row_.steps[at];
  }

 private:
  RowResult& row_;
};

constexpr std::string_view kCancelledBeforeStep = "中止したため、実行していません";

std::string withWarnings(std::string message, const std::vector<std::string>& warnings) {
  for (std::string warning : warnings) {
    for (char& c : warning)
      if (c == '\n' || c == '\r') c = ' ';
    message += "（警告: " + warning + "）";
  }
  return message;
}

std::string landed(const std::string& name, const Registered& where, std::string_view model,
                   bool dryRun) {
  const char* what = where.overwrote ? (dryRun ? "上書きします" : "上書きしました")
                                     : (dryRun ? "新規登録します" : "新規登録しました");
  return "「" + name + "」を" + what + "（" + std::string(model) + "）";
}

void noteCommand(StepResult& step, const std::vector<std::uint8_t>& bytes) {
  step.bytes = bytes.size();
  step.sha256 = history::sha256Hex(bytes);
}

// The row's own work folder, removed when the row ends.
class WorkDir {
 public:
  WorkDir(const std::filesystem::path& scratch, int line)
      : path_(scratch / ("row-" + std::to_string(line))) {
    std::filesystem::create_directory(path_, error_);
  }
  ~WorkDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  const std::error_code& error() const { return error_; }

 private:
  std::filesystem::path path_;
  std::error_code error_;
};

}  // namespace

RowPipeline::RowPipeline(ProfileService* dataFolder, std::filesystem::path scratch,
                         PipelineSettings settings, const transport::RunControl& run)
    : dataFolder_(dataFolder),
      scratch_(std::move(scratch)),
      settings_(std::move(settings)),
      run_(run) {}

RowResult RowPipeline::run(const PlanRow& row, const StepWatcher& onStep) const {
  RowResult result = RowResult::pending(row);
  const auto begin = [&](Step step) {
    if (onStep) onStep(step);
  };
  StepLog steps(result);
  const WorkDir work(scratch_, row.line);
  if (work.error()) {
    steps.failed(Step::Fetch, "作業フォルダを作成できません: " + work.path().string() + "（" +
                                  work.error().message() + "）");
    return result;
  }
  begin(Step::Fetch);
  {
    transport::RunControl control(settings_.stepLimit, run_);
    const transport::RetrievalOutcome fetched =
        transport::retrievePrinterImages(work.path(), row.oldPrinter, settings_.password, control);
    if (!fetched.retrieved()) {
      steps.failed(Step::Fetch, transport::messageWithDetail(fetched.message, fetched.detail));
      return result;
    }
    steps.ok(Step::Fetch, fetched.message);
  }
  if (run_.cancelled()) {
    steps.failed(Step::Register, std::string(kCancelledBeforeStep));
    return result;
  }
  begin(Step::Register);
  if (dataFolder_) {
    migrateAndSend(row, {*dataFolder_, work.path(), {}}, work.path(), onStep, result);
    return result;
  }
  // The row's own folder: its profiles are decoded from the images it keeps. A dry run decides
  // on the folder as it is (or as a new one) and writes nothing there.
  const std::filesystem::path folder = settings_.archive / row.name;
  result.archive = rowArchiveName(settings_.archive, row.name);
  if (!settings_.dryRun) {
    if (Status s = storeFetchedImages(work.path(), folder); !s) {
      steps.failed(Step::Register, s.message());
      return result;
    }
  }
  ProfileService archived(StorePaths::inDirectory(folder));
  const std::filesystem::path images = settings_.dryRun ? work.path() : folder;
  migrateAndSend(row, {archived, images, commandFileIn(folder, row.migratedName())}, work.path(),
                 onStep, result);
  return result;
}

void RowPipeline::migrateAndSend(const PlanRow& row, const RowProfiles& profiles,
                                 const std::filesystem::path& workDir, const StepWatcher& onStep,
                                 RowResult& result) const {
  StepLog steps(result);
  ProfileService& service = profiles.service;
  const auto allImage = profiles.images / nvram::kAllImageFileName;
  const auto nwImage = profiles.images / nvram::kNetworkImageFileName;
  ProfileModel model;
  const std::string mName = row.migratedName();

  if (settings_.dryRun) {
    MigrationStage reached = MigrationStage::Register;
    auto rehearsal = service.rehearseMigration(model, row.name, mName, allImage, nwImage, reached);
    if (!rehearsal) {
      constexpr Step kSteps[] = {Step::Register, Step::Migrate, Step::Command};
      steps.failed(kSteps[static_cast<int>(reached)], rehearsal.message());
      return;
    }
    steps.ok(Step::Register,
             withWarnings(landed(row.name, rehearsal->decoded.registered, cat::kModelGhjk, true),
                          rehearsal->decoded.warnings));
    steps.ok(Step::Migrate, landed(mName, rehearsal->migrated, cat::kModelM, true));
    steps.ok(Step::Command, withWarnings("作成できます", rehearsal->command.warnings));
    noteCommand(steps.skipped(Step::Send, "送信しません（--dry-run）: " + row.target.text()),
                rehearsal->command.image.bytes);
    result.status = RowStatus::Completed;
    return;
  }

  auto decoded = service.registerDecoded(model, row.name, allImage, nwImage);
  if (!decoded) {
    steps.failed(Step::Register, decoded.message());
    return;
  }
  steps.ok(Step::Register,
           withWarnings(landed(row.name, decoded->registered, cat::kModelGhjk, false),
                        decoded->warnings));
  auto migrated = service.migrateProfile(row.name, mName, OnExisting::OverwriteModelM);
  if (!migrated) {
    steps.failed(Step::Migrate, migrated.message());
    return;
  }
  steps.ok(Step::Migrate, landed(mName, *migrated, cat::kModelM, false));
  if (onStep) onStep(Step::Command);
  // Kept beside the profiles, the command is the one the new printer receives.
  auto prepared = profiles.commandFile.empty()
                      ? service.prepareProfileCommand(model, mName)
                      : transport::writeCommandFile(service, model, mName, profiles.commandFile);
  if (!prepared) {
    steps.failed(Step::Command, prepared.message());
    return;
  }
  steps.ok(Step::Command, withWarnings("作成しました", prepared->warnings));

  const std::vector<std::uint8_t>& bytes = prepared->image.bytes;
  // The command is kept; only the send waits for the next run.
  if (run_.cancelled()) {
    noteCommand(steps.failed(Step::Send, std::string(kCancelledBeforeStep)), bytes);
    return;
  }
  if (onStep) onStep(Step::Send);
  transport::RunControl control(settings_.stepLimit, run_);
  const transport::CommandDelivery delivery(service.store(),
                                            transport::DeliverySettings::forFleetRow(workDir));
  const transport::SendOutcome sent =
      delivery.deliver(row.target, {mName, std::string(cat::kModelM), bytes}, control);
  if (!sent.reached()) {
    noteCommand(steps.failed(Step::Send,
                             transport::messageWithDetail(
                                 sent.message.empty() ? std::string("設定を送信できませんでした")
                                                      : sent.message,
                                 sent.detail)),
                bytes);
    return;
  }
  const std::string message = sent.message.empty() ? "印刷システムに渡しました" : sent.message;
  // A job the spooler still holds completes the row: it prints when the printer can.
  const StepOutcome outcome =
      sent.delivery == transport::Delivery::Queued ? StepOutcome::Queued : StepOutcome::Ok;
  noteCommand(
      steps.add(Step::Send, outcome,
                transport::messageWithDetail(message, sent.detail) + ": " + row.target.text()),
      bytes);
  result.status = RowStatus::Completed;
}

}  // namespace drovik::fleet
