// The two profile files: the index R_MAIN.INI (registered profile names and model
// types, remembered printer and addresses) and RSETTING.INI (one section per profile).
// Every read takes the files afresh without locking (files are only ever replaced whole);
// every change is a transaction under the folder's write lock: read both files afresh,
// decide and edit, write them all or nothing, so running copies never lose each other's work.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ini/ini_file.h"
#include "model/profile.h"
#include "model/store_paths.h"

namespace drovik {

using Ipv4Octets = std::array<int, 4>;

// A registered profile as the index names it: its slot, the section that holds its settings
// (the name as stored, which may differ from the typed one in ASCII letter case) and its
// model type. Found and used within one reading of the files, never kept for later.
struct ProfileEntry {
  int slot = -1;
  std::string section;
  std::string modelType;
};

// Both profile files as read under the write lock, with the operations a transaction
// decides and edits with. Nothing reaches the disk until the transaction commits.
class StoreEdit {
 public:
  StoreEdit(ini::IniDocument index, ini::IniDocument settings);

  // Index.
  ProfileSlotTable slots() const;      // names, model types, initial users and user names
  ProfileSlotTable slotNames() const;  // names and model types only
  Status writeIndexEntry(int slot, const std::string& name, const std::string& modelType);
  void deleteIndexEntry(int slot);
  // Removes the entry of `slot` and moves the later slots down by one.
  Status removeAndCompact(int slot);

  // Choices remembered for the transports.
  std::string printerDriverName() const;
  Ipv4Octets sendAddress() const;
  Ipv4Octets retrievalAddress() const;

  // The entry registered under `name` (as the index matches names), if any.
  std::optional<ProfileEntry> findEntry(const std::string& name) const;

  // Settings.
  void loadProfile(ProfileModel& model, const std::string& section) const;
  Status saveProfile(const ProfileModel& model, const std::string& section);
  Status deleteSection(const std::string& section);
  Status copySection(const std::string& from, const std::string& to);

  // Normally the settings file is written before the index, so that a failure in between
  // never leaves an index entry without its section; a removal wants the opposite order.
  void writeIndexFirst() { indexFirst_ = true; }

  ini::IniDocument& index() { return index_; }
  ini::IniDocument& settings() { return settings_; }

 private:
  friend class ProfileStore;
  ini::IniDocument index_;
  ini::IniDocument settings_;
  bool indexFirst_ = false;
};

// A folder opened only to look at (a fleet row's archive) is never written: every change is
// refused before the lock is taken.
enum class StoreAccess { ReadWrite, ReadOnly };

class ProfileStore {
 public:
  explicit ProfileStore(StorePaths paths, StoreAccess access = StoreAccess::ReadWrite);
  const StorePaths& paths() const { return paths_; }
  bool readOnly() const { return access_ == StoreAccess::ReadOnly; }

  // Runs work under the folder's write lock on both files read afresh and writes the files
  // it changed when it succeeds. A failure at any step leaves both files as they were.
  Status transact(const std::function<Status(StoreEdit&)>& work) const;
  // The same, and once it succeeded (also when nothing needed writing) `committed` runs before
  // the lock is let go: what follows a change (its history record) keeps the order of the
  // changes of all copies.
  Status transact(const std::function<Status(StoreEdit&)>& work,
                  const std::function<void()>& committed) const;
  // Runs work on both files as they are now, without the lock, and writes nothing: what a
  // transaction would decide, for a dry run, or a load. The two files are read as one state:
  // when another copy replaces the index while they are read, they are read again.
  Status rehearse(const std::function<Status(StoreEdit&)>& work) const;

  // Index slots.
  Status readAllSlots(ProfileSlotTable& slots) const;
  // Names and model types only, from the index alone: enough to find and load a profile.
  Status readSlotNames(ProfileSlotTable& slots) const;
  // The raw Set<i> entry of the index, as the duplicate check of registration reads it.
  Result<std::string> indexName(int slot) const;

  // Profile sections, by section name (the service finds a profile's section by its name).
  Status loadSection(ProfileModel& model, const std::string& section) const;
  Result<std::vector<std::string>> readSection(const std::string& section) const;

  // Choices remembered for the transports; each change is a transaction of its own.
  Result<std::string> printerDriverName() const;
  Status setPrinterDriverName(const std::string& name) const;
  Result<Ipv4Octets> sendAddress() const;
  Status setSendAddress(const Ipv4Octets& address) const;
  Result<Ipv4Octets> retrievalAddress() const;
  Status setRetrievalAddress(const Ipv4Octets& address) const;

 private:
  // Both files as one state, without the lock.
  Result<StoreEdit> readBoth() const;

  StorePaths paths_;
  StoreAccess access_;
  ini::IniFile index_;
  ini::IniFile settings_;
};

}  // namespace drovik
