// Arbitrary bytes as both profile files (so that the index can name sections of the same
// bytes): the slot table, the first registered profile's command as a save or send builds
// it, one section loaded by name, and (for one input in four) a migration copy of the first
// section. The files are read in memory, as a store transaction holds them: the file layer
// (locking, atomic replacement) has its own tests, and disk writes would cost most of each run.
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

// Each profile loaded reads all of its 1461 keys: one registered profile and one section
// (picked by the input) per input.
constexpr int kMaxProfiles = 1;

// Migration copies every key line of the source into the file it writes, or refuses and
// changes nothing.
void checkMigrationCopy(drovik::StoreEdit& files, const std::string& source) {
  using namespace drovik;
  std::vector<std::string> keyLines;
  for (const std::string& line : files.settings().readSection(source))
    if (line.find('=') != std::string::npos) keyLines.push_back(line);
  const std::string copy = "移行先";
  if (!files.copySection(source, copy)) {
    FUZZ_CHECK(!files.settings().modified(), "a refused copy changed the file");
    return;
  }
  const ini::IniDocument written = ini::IniDocument::parse(files.settings().serialize());
  FUZZ_CHECK(written.readSection(copy) == keyLines, source);
  (void)files.writeIndexEntry(catalogue::kSlotCount - 1, copy, std::string(catalogue::kModelM));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const ini::IniDocument parsed = ini::IniDocument::parse(std::string(fuzz::asText({data, size})));
  StoreEdit files(parsed, parsed);

  ProfileModel model;
  model.slots = files.slots();
  const ProfileSlotTable names = files.slotNames();
  for (int slot = 0; slot < catalogue::kSlotCount; ++slot)
    FUZZ_CHECK(names[slot].name == model.slots[slot].name, model.slots[slot].name);
  (void)files.printerDriverName();
  (void)files.sendAddress();
  (void)files.retrievalAddress();

  int prepared = 0;
  for (int slot = 0; slot < catalogue::kSlotCount && prepared < kMaxProfiles; ++slot) {
    if (!model.slots[slot].registered()) continue;
    ++prepared;
    const Result<PreparedCommand> command = prepareCommand(files, model, slot);
    if (command) fuzz::checkCommandAndReport(model, command->variant);
  }

  const std::vector<std::string> sections = parsed.sectionNames();
  if (sections.empty()) return 0;
  const std::size_t s = size % sections.size();
  ProfileModel loaded;
  files.loadProfile(loaded, sections[s]);
  fuzz::checkCommandAndReport(loaded, s % 2 == 0 ? CommandVariant::Ghjk : CommandVariant::M);
  // The copy is checked by reading the whole written file again, which costs as much as the
  // rest of a run: one input in four, by its length.
  if (size % 4 == 0) checkMigrationCopy(files, sections.front());
  return 0;
}
