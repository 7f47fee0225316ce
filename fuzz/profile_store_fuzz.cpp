// Arbitrary bytes as both profile files (so that the index can name sections of the same
// bytes): the slot table, the first registered profiles' commands as a save or send builds
// them, the first sections loaded by name, and a migration copy of the first section.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_preparation.h"
#include "fuzz_support.h"
#include "model/ini_document.h"
#include "model/profile_store.h"
#include "profile_checks.h"

namespace {

constexpr int kMaxProfiles = 2;
constexpr std::size_t kMaxSections = 2;

// Migration copies every key line of the source, or refuses and changes nothing.
void checkMigrationCopy(const drovik::ProfileStore& store, const std::string& source) {
  using namespace drovik;
  const auto before = store.readSection(source);
  FUZZ_CHECK(before.isOk(), source);
  std::vector<std::string> keyLines;
  for (const std::string& line : *before)
    if (line.find('=') != std::string::npos) keyLines.push_back(line);
  const std::string copy = "移行先";
  const Status copied = store.transact([&](StoreEdit& edit) -> Status {
    if (Status s = edit.copySection(source, copy); !s) return s;
    return edit.writeIndexEntry(catalogue::kSlotCount - 1, copy, std::string(catalogue::kModelM));
  });
  if (!copied) return;
  const auto after = store.readSection(copy);
  FUZZ_CHECK(after.isOk() && *after == keyLines, source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const std::string_view bytes = fuzz::asText({data, size});
  const StorePaths paths = StorePaths::inDirectory(fuzz::scratchDirectory());
  fuzz::writeBytes(paths.indexFile, bytes);
  fuzz::writeBytes(paths.settingsFile, bytes);
  const ProfileStore store(paths);

  ProfileModel model;
  FUZZ_CHECK(store.readAllSlots(model.slots).isOk(), "a regular file always reads");
  ProfileSlotTable names;
  FUZZ_CHECK(store.readSlotNames(names).isOk(), "a regular file always reads");
  for (int slot = 0; slot < catalogue::kSlotCount; ++slot)
    FUZZ_CHECK(names[slot].name == model.slots[slot].name, model.slots[slot].name);
  (void)store.printerDriverName();
  (void)store.sendAddress();
  (void)store.retrievalAddress();

  int prepared = 0;
  for (int slot = 0; slot < catalogue::kSlotCount && prepared < kMaxProfiles; ++slot) {
    if (!model.slots[slot].registered()) continue;
    ++prepared;
    const Result<PreparedCommand> command = prepareCommand(store, model, slot);
    if (command) fuzz::checkCommandAndReport(model, command->variant);
  }

  const std::vector<std::string> sections =
      ini::IniDocument::parse(std::string(bytes)).sectionNames();
  for (std::size_t s = 0; s < sections.size() && s < kMaxSections; ++s) {
    ProfileModel loaded;
    FUZZ_CHECK(store.loadSection(loaded, sections[s]).isOk(), sections[s]);
    fuzz::checkCommandAndReport(loaded, s % 2 == 0 ? CommandVariant::Ghjk : CommandVariant::M);
  }
  if (!sections.empty()) checkMigrationCopy(store, sections.front());
  return 0;
}
