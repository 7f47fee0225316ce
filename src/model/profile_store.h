// The two profile files: the index R_MAIN.INI (registered profile names and model
// types, remembered printer and addresses) and RSETTING.INI (one section per profile).
// Every operation reads the file afresh and changes it under an exclusive lock with an
// all-or-nothing write, so two running copies never lose each other's saves.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/ini_file.h"
#include "model/profile.h"
#include "model/store_paths.h"

namespace drovik {

using Ipv4Octets = std::array<int, 4>;

class ProfileStore {
 public:
  explicit ProfileStore(StorePaths paths);
  const StorePaths& paths() const { return paths_; }

  // Index slots.
  Status readSlot(ProfileSlotTable& slots, int slot) const;
  Status readAllSlots(ProfileSlotTable& slots) const;
  // Names and model types only, from the index alone: enough to find and load a profile.
  Status readSlotNames(ProfileSlotTable& slots) const;
  Status writeIndexEntry(int slot, const std::string& name, const std::string& modelType) const;
  Status deleteIndexEntry(int slot) const;
  // The raw Set<i> entry of the index, as the duplicate check of registration reads it.
  Result<std::string> indexName(int slot) const;

  // Profiles: the section named after the slot's profile.
  Status loadProfile(ProfileModel& model, int slot) const;
  Status loadSection(ProfileModel& model, const std::string& section) const;
  Status saveProfile(const ProfileModel& model, int slot) const;
  Status saveSection(const ProfileModel& model, const std::string& section) const;
  Status deleteSection(const std::string& section) const;
  Result<std::vector<std::string>> readSection(const std::string& section) const;
  Status writeSection(const std::string& section, const std::vector<std::string>& lines) const;

  // Choices remembered for the transports.
  Result<std::string> printerDriverName() const;
  Status setPrinterDriverName(const std::string& name) const;
  Result<Ipv4Octets> sendAddress() const;
  Status setSendAddress(const Ipv4Octets& address) const;
  Result<Ipv4Octets> retrievalAddress() const;
  Status setRetrievalAddress(const Ipv4Octets& address) const;

 private:
  StorePaths paths_;
  ini::IniFile index_;
  ini::IniFile settings_;
};

}  // namespace drovik
