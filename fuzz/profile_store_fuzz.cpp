// Arbitrary bytes as both profile files (so that the index can name sections of the same
// bytes): the remembered transport choices, then either the slot table and the first
// registered profile's command as a save or send builds it, or one section loaded by name;
// for one input in four, a migration copy of the first section. The files are read in memory, as a
// store transaction holds them: the file layer (locking, atomic replacement) has its own tests, and
// disk writes would cost most of each run.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_preparation.h"
#include "fuzz_support.h"
#include "ini/ini_document.h"
#include "model/profile_store.h"
#include "profile_checks.h"

namespace {

// Migration copies every key line of the source into the file it writes, or refuses and
// changes nothing.
void checkMigrationCopy(drovik::StoreEdit& files, const std::vector<std::string>& sections) {
  using namespace drovik;
  if (sections.empty()) return;
  const std::string& source = sections.front();
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

// The slot table (checked against the names-only read) and the command of the first
// registered profile, found by its name as a save or send finds it. False when no profile is
// registered.
bool prepareFirstRegistered(drovik::StoreEdit& files) {
  using namespace drovik;
  const ProfileSlotTable slots = files.slots();
  const ProfileSlotTable names = files.slotNames();
  for (int slot = 0; slot < catalogue::kSlotCount; ++slot)
    FUZZ_CHECK(names[slot].name == slots[slot].name, slots[slot].name);
  for (int slot = 0; slot < catalogue::kSlotCount; ++slot) {
    if (!slots[slot].registered()) continue;
    const std::optional<ProfileEntry> entry = files.findEntry(slots[slot].name);
    FUZZ_CHECK(entry.has_value(), slots[slot].name);
    ProfileModel model;
    files.loadProfile(model, entry->section);
    const Result<PreparedCommand> command = prepareCommand(model, variantOf(entry->modelType));
    if (command) fuzz::checkPreparedCommand(model, *command);
    return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const ini::IniDocument parsed = ini::IniDocument::parse(std::string(fuzz::asText({data, size})));
  StoreEdit files(parsed, parsed);
  (void)files.printerDriverName();
  (void)files.sendAddress();
  (void)files.retrievalAddress();

  // A whole profile load costs most of a run: half of the inputs (by their length) load the
  // first registered profile as a save or send does, the others (and those without one) a
  // section picked by the input.
  if ((size / 4) % 2 == 0 && prepareFirstRegistered(files)) {
    // The copy is checked by reading the whole written file again, which costs as much as
    // the rest of a run: one input in four, by its length.
    if (size % 4 == 0) checkMigrationCopy(files, parsed.sectionNames());
    return 0;
  }
  const std::vector<std::string> sections = parsed.sectionNames();
  if (sections.empty()) return 0;
  const std::size_t s = size % sections.size();
  ProfileModel loaded;
  files.loadProfile(loaded, sections[s]);
  fuzz::checkCommandAndReport(loaded, s % 2 == 0 ? CommandVariant::Ghjk : CommandVariant::M);
  if (size % 4 == 0) checkMigrationCopy(files, sections);
  return 0;
}
