#include "model/profile_store.h"

#include <sys/stat.h>

#include "files/folder_lock.h"
#include "ini/ini_document.h"
#include "ini/text_codec.h"
#include "model/profile_registry.h"

namespace drovik {

namespace {

constexpr std::string_view kSetNameSection = "SetName";
constexpr std::string_view kModelTypeSection = "MTypeName";
constexpr std::string_view kPrinterDriverSection = "PrinterDriver";
constexpr std::string_view kPrinterDriverKey = "PrinterDriverName";
constexpr std::string_view kSendAddressSection = "IP Address";
constexpr std::string_view kRetrievalAddressSection = "FTP IP";
constexpr std::string_view kOctetOrdinals[4] = {"1st", "2nd", "3rd", "4th"};

// Which file a path names now: an atomic replace gives it another inode.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  timespec modified{};
  off_t size = -1;  // -1: no file
  bool operator==(const FileIdentity& o) const {
    return device == o.device && inode == o.inode && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec && size == o.size;
  }
};

FileIdentity identityOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {info.st_dev, info.st_ino, info.st_mtim, info.st_size};
}

// Copies that change the files without pause could keep a reader re-reading; after this many
// tries it gives up rather than take two files that may not belong together.
constexpr int kSnapshotAttempts = 20;

std::string setKey(int slot) { return "Set" + std::to_string(slot); }
std::string modelTypeKey(int slot) { return "MType" + std::to_string(slot); }

Status checkSlot(int slot) {
  if (slot < 0 || slot >= cat::kSlotCount)
    return Error{"登録番号 " + std::to_string(slot) + " は範囲外です。"};
  return {};
}

void fillSlot(ProfileSlot& slot, int i, const ini::IniDocument& index,
              const ini::IniDocument& settings) {
  slot.name = index.readText(kSetNameSection, setKey(i), "", cat::kProfileNameCapacity);
  const std::int32_t user = settings.readInt(slot.name, cat::kSelectUserKey, 0);
  // A hand-edited initial user outside the ten users names no user at all.
  const bool known = user >= 0 && user < cat::kUserCount;
  slot.initialUserText = known ? cat::userCaption(user) : "";
  slot.userName = known ? settings.readText(slot.name, cat::userNameKey(user),
                                            cat::defaultUserName(user), cat::kNameCapacity)
                        : "";
  slot.modelType =
      index.readText(kModelTypeSection, modelTypeKey(i), "", cat::kProfileNameCapacity);
  if (slot.modelType == cat::kModelM) {
    slot.initialUserText.clear();
    slot.userName.clear();
  }
}

ProfileSlotTable namesOf(const ini::IniDocument& index) {
  ProfileSlotTable slots;
  for (int i = 0; i < cat::kSlotCount; ++i) {
    slots[i].name = index.readText(kSetNameSection, setKey(i), "", cat::kProfileNameCapacity);
    slots[i].modelType =
        index.readText(kModelTypeSection, modelTypeKey(i), "", cat::kProfileNameCapacity);
  }
  return slots;
}

void loadFrom(const ini::IniDocument& doc, const std::string& section, ProfileModel& model) {
  const ini::IniDocument::SectionReader keys = doc.section(section);
  SettingProfile& v = model.values;
  ProfileText& t = model.text;
  const auto& nodes = cat::checkNodes();
  for (int n = 0; n < cat::kCheckNodeCount; ++n)
    model.flags.state[n] = keys.readInt(nodes[n].key, 1);

  v.selectUser = keys.readInt(cat::kSelectUserKey, cat::kDefaultSelectUser);
  setNumberText(t.selectUser, v.selectUser);

  for (int u = 0; u < cat::kUserCount; ++u) {
    const std::string fallback = cat::defaultUserName(u);
    t.userName[u] = keys.readText(cat::userNameKey(u), fallback, cat::kNameCapacity);
    v.userName[u] = t.userName[u].empty() ? fallback : t.userName[u];
  }

  const auto paper = cat::paperItems();
  const auto common = cat::commonItems();
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      const std::string& key = cat::paperKey(u, i);
      const int slot = cat::marginSlotOfPaperItem(i);
      if (slot < 0) {
        v.paper[u].index[i] = keys.readInt(key, paper[i].defaultIndex);
        setNumberText(t.paper[u][i], v.paper[u].index[i]);
      } else {
        const std::string_view fallback = cat::marginDefault(slot);
        t.paper[u][i] = keys.readText(key, fallback, cat::kMarginCapacity);
        v.paper[u].margin[slot] = t.paper[u][i].empty() ? std::string(fallback) : t.paper[u][i];
      }
    }
    for (int i = 0; i < cat::kCommonItemCount; ++i) {
      v.common[u].index[i] = keys.readInt(cat::commonKey(u, i), common[i].defaultIndex);
      setNumberText(t.common[u][i], v.common[u].index[i]);
    }
  }

  const auto ifaceItems = cat::interfaceItems();
  const auto ifaceKeys = cat::interfaceKeys();
  InterfaceRecord& iface = v.iface;
  for (int k = 0; k < cat::kInterfaceKeyCount; ++k) {
    const cat::InterfaceKey& key = ifaceKeys[k];
    if (key.octet >= 0) {
      const int address = InterfaceRecord::addressOf(key.item);
      iface.octetText[address][key.octet] = keys.readText(key.key, "0", cat::kOctetCapacity);
      iface.octet[address][key.octet] = keys.readInt(key.key, 0);
      setNumberText(t.iface[k], iface.octet[address][key.octet]);
    } else if (key.item == cat::kIfChgTime) {
      iface.ifChgTimeText = keys.readText(key.key, cat::kDefaultIfChgTime, cat::kSecondsCapacity);
      if (iface.ifChgTimeText.empty()) iface.ifChgTimeText = cat::kDefaultIfChgTime;
      iface.ifChgTime = keys.readInt(key.key, cat::kDefaultIfChgTimeSeconds);
      setNumberText(t.iface[k], iface.ifChgTime);
    } else {
      iface.choice(key.item) = keys.readInt(key.key, ifaceItems[key.item].defaultIndex);
      setNumberText(t.iface[k], iface.choice(key.item));
    }
  }
}

// Writes the flagged keys and all interface keys, in the order a full save creates them.
Status saveInto(ini::IniDocument& doc, const std::string& section, const ProfileModel& model) {
  const auto& nodes = cat::checkNodes();
  for (int n : cat::checkNodesInSaveOrder())
    if (model.flagWrite[n])
      if (Status s = doc.writeText(section, nodes[n].key, model.flags.text[n]); !s) return s;
  // The interface keys are written whatever their flags say.
  for (const cat::ValueKey& key : cat::valueKeysInSaveOrder())
    if (key.kind == cat::KeyKind::Interface || model.valueWrite.at(key))
      if (Status s = doc.writeText(section, key.key, model.text.at(key)); !s) return s;
  return {};
}

std::string octetKey(std::string_view section, int octet) {
  return std::string(section) + " " + std::string(kOctetOrdinals[octet]) + " 8bits";
}

Ipv4Octets readAddress(const ini::IniDocument& index, std::string_view section) {
  Ipv4Octets octets{};
  for (int i = 0; i < 4; ++i) octets[i] = index.readInt(section, octetKey(section, i), 0);
  return octets;
}

std::string readPrinterDriverName(const ini::IniDocument& index) {
  return index.readText(kPrinterDriverSection, kPrinterDriverKey, "", 260);
}

Status writeAddress(ini::IniDocument& doc, std::string_view section, const Ipv4Octets& octets) {
  for (int i = 0; i < 4; ++i)
    if (Status s = doc.writeText(section, octetKey(section, i), std::to_string(octets[i])); !s)
      return s;
  return {};
}

}  // namespace

StoreEdit::StoreEdit(ini::IniDocument index, ini::IniDocument settings)
    : index_(std::move(index)), settings_(std::move(settings)) {}

ProfileSlotTable StoreEdit::slots() const {
  ProfileSlotTable slots;
  for (int i = 0; i < cat::kSlotCount; ++i) fillSlot(slots[i], i, index_, settings_);
  return slots;
}

ProfileSlotTable StoreEdit::slotNames() const { return namesOf(index_); }

Status StoreEdit::writeIndexEntry(int slot, const std::string& name, const std::string& modelType) {
  if (Status s = checkSlot(slot); !s) return s;
  if (Status s = index_.writeText(kSetNameSection, setKey(slot), name); !s) return s;
  return index_.writeText(kModelTypeSection, modelTypeKey(slot), modelType);
}

void StoreEdit::deleteIndexEntry(int slot) {
  index_.deleteKey(kSetNameSection, setKey(slot));
  index_.deleteKey(kModelTypeSection, modelTypeKey(slot));
}

Status StoreEdit::removeAndCompact(int slot) {
  if (Status s = checkSlot(slot); !s) return s;
  for (int j = slot; j < cat::kSlotCount; ++j) {
    const bool last = j + 1 == cat::kSlotCount;
    const std::string name =
        last ? "" : index_.readText(kSetNameSection, setKey(j + 1), "", cat::kProfileNameCapacity);
    const std::string type = last ? ""
                                  : index_.readText(kModelTypeSection, modelTypeKey(j + 1), "",
                                                    cat::kProfileNameCapacity);
    deleteIndexEntry(j);
    if (!name.empty())
      if (Status s = writeIndexEntry(j, name, type); !s) return s;
  }
  return {};
}

std::string StoreEdit::printerDriverName() const { return readPrinterDriverName(index_); }
Ipv4Octets StoreEdit::sendAddress() const { return readAddress(index_, kSendAddressSection); }
Ipv4Octets StoreEdit::retrievalAddress() const {
  return readAddress(index_, kRetrievalAddressSection);
}

void StoreEdit::loadProfile(ProfileModel& model, const std::string& section) const {
  loadFrom(settings_, section, model);
}

std::optional<ProfileEntry> StoreEdit::findEntry(const std::string& name) const {
  const ProfileSlotTable names = slotNames();
  const int slot = findSlotByName(names, name);
  if (slot < 0) return std::nullopt;
  return ProfileEntry{slot, names[slot].name, names[slot].modelType};
}

Status StoreEdit::saveProfile(const ProfileModel& model, const std::string& section) {
  return saveInto(settings_, section, model);
}

Status StoreEdit::deleteSection(const std::string& section) {
  // Undecodable bytes all read as U+FFFD, so a name the file cannot hold could match
  // another profile's section; writes refuse such names too.
  if (settings_.encoding() == ini::Encoding::Cp932 && settings_.hasSection(section) &&
      !ini::utf8ToCp932(section))
    return Error{"設定名「" + section + "」は CP932 で表せない文字を含むため、削除できません"};
  settings_.deleteSection(section);
  return {};
}

Status StoreEdit::copySection(const std::string& from, const std::string& to) {
  return settings_.writeSection(to, settings_.readSection(from));
}

ProfileStore::ProfileStore(StorePaths paths, StoreAccess access)
    : paths_(std::move(paths)),
      access_(access),
      index_(paths_.indexFile),
      settings_(paths_.settingsFile) {}

Status ProfileStore::transact(const std::function<Status(StoreEdit&)>& work) const {
  return transact(work, {});
}

Status ProfileStore::transact(const std::function<Status(StoreEdit&)>& work,
                              const std::function<void()>& committed) const {
  if (readOnly())
    return Error{"読み取り専用で開いているため、変更できません: " + paths_.lockFolder().string()};
  auto lock = FolderLock::acquire(paths_.lockFolder());
  if (!lock) return lock.error();
  auto index = index_.read();
  if (!index) return index.error();
  auto settings = settings_.read();
  if (!settings) return settings.error();
  StoreEdit edit(std::move(*index), std::move(*settings));
  if (Status s = work(edit); !s) return s;

  // Both new files are written out before either replaces its old one, so that a full disk
  // leaves both files as they were; a failure after that puts back what was replaced.
  struct Change {
    const ini::IniFile* file;
    const ini::IniDocument* document;
  };
  std::vector<Change> changes;
  if (edit.settings_.modified()) changes.push_back({&settings_, &edit.settings_});
  if (edit.index_.modified()) changes.push_back({&index_, &edit.index_});
  if (edit.indexFirst_ && changes.size() == 2) std::swap(changes[0], changes[1]);
  std::vector<PendingReplacement> pending;
  for (const Change& change : changes) {
    auto prepared = change.file->prepareWrite(*change.document);
    if (!prepared) return prepared.error();
    pending.push_back(std::move(*prepared));
  }
  if (Status s = commitTogether(pending); !s) return s;
  if (committed) committed();
  return {};
}

Status ProfileStore::rehearse(const std::function<Status(StoreEdit&)>& work) const {
  auto edit = readBoth();
  if (!edit) return edit.error();
  return work(*edit);
}

Result<StoreEdit> ProfileStore::readBoth() const {
  // A transaction replaces the settings file before the index, or (for a removal) the index
  // first. Either way, an index that stayed the same file while both were read was read
  // together with a settings file of its own state or later, never with one that lacks a
  // section it names.
  for (int attempt = 0;; ++attempt) {
    const FileIdentity before = identityOf(index_.path());
    auto index = index_.read();
    if (!index) return index.error();
    auto settings = settings_.read();
    if (!settings) return settings.error();
    if (identityOf(index_.path()) == before)
      return StoreEdit(std::move(*index), std::move(*settings));
    if (attempt == kSnapshotAttempts)
      return Error{
          "設定ファイルがほかのプログラムによって更新され続けているため、読み込めません: " +
          index_.path().string()};
  }
}

Status ProfileStore::readAllSlots(ProfileSlotTable& slots) const {
  auto edit = readBoth();
  if (!edit) return edit.error();
  slots = edit->slots();
  return {};
}

Status ProfileStore::readSlotNames(ProfileSlotTable& slots) const {
  auto index = index_.read();
  if (!index) return index.error();
  slots = namesOf(*index);
  return {};
}

Result<std::string> ProfileStore::indexName(int slot) const {
  if (Status s = checkSlot(slot); !s) return s.error();
  auto doc = index_.read();
  if (!doc) return doc.error();
  return doc->readText(kSetNameSection, setKey(slot), "", cat::kProfileNameCapacity);
}

Status ProfileStore::loadSection(ProfileModel& model, const std::string& section) const {
  auto doc = settings_.read();
  if (!doc) return doc.error();
  loadFrom(*doc, section, model);
  return {};
}

Result<std::vector<std::string>> ProfileStore::readSection(const std::string& section) const {
  auto doc = settings_.read();
  if (!doc) return doc.error();
  return doc->readSection(section);
}

Result<std::string> ProfileStore::printerDriverName() const {
  auto doc = index_.read();
  if (!doc) return doc.error();
  return readPrinterDriverName(*doc);
}

Status ProfileStore::setPrinterDriverName(const std::string& name) const {
  return transact([&](StoreEdit& edit) -> Status {
    return edit.index().writeText(kPrinterDriverSection, kPrinterDriverKey, name);
  });
}

Result<Ipv4Octets> ProfileStore::sendAddress() const {
  auto doc = index_.read();
  if (!doc) return doc.error();
  return readAddress(*doc, kSendAddressSection);
}
Status ProfileStore::setSendAddress(const Ipv4Octets& address) const {
  return transact([&](StoreEdit& edit) -> Status {
    return writeAddress(edit.index(), kSendAddressSection, address);
  });
}
Result<Ipv4Octets> ProfileStore::retrievalAddress() const {
  auto doc = index_.read();
  if (!doc) return doc.error();
  return readAddress(*doc, kRetrievalAddressSection);
}
Status ProfileStore::setRetrievalAddress(const Ipv4Octets& address) const {
  return transact([&](StoreEdit& edit) -> Status {
    return writeAddress(edit.index(), kRetrievalAddressSection, address);
  });
}

}  // namespace drovik
