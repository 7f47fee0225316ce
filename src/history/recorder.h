// How the operations write their history: one call once a change is committed or a delivery
// has ended. A record that cannot be written never undoes or fails the operation: the reason
// waits as a warning until the program shows it (takeWarnings), so that the operator learns
// the history has a gap.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_record.h"

namespace drovik::history {

// A change to the profile files: `operation`, the profile's name and model type.
Record change(std::string_view operation, std::string_view profile, std::string_view model,
              std::string message = {});

// A delivery of `command` to `target`, with its size and SHA-256, and how it went (`outcome`:
// kOutcomeOk, kOutcomeQueued or kOutcomeFailed): the message and, when there is one, the technical
// detail of a failure.
Record delivery(std::string_view operation, std::string_view profile, std::string_view model,
                std::string target, std::span<const std::uint8_t> command, std::string_view outcome,
                std::string message = {}, std::string_view detail = {});

// Appends `record` to the history of the data folder `folder` under the folder's write lock,
// stamped with the time and this process's user, host and program.
void record(const std::filesystem::path& folder, Record record);
// The same for a caller that holds the folder's write lock (a transaction just committed).
void recordHoldingLock(const std::filesystem::path& folder, Record record);

// Why records could not be written since the last call, oldest first, as warnings for the
// operator.
std::vector<std::string> takeWarnings();

// Targets as the records and `history --target` name them (kParallelTarget the port).
std::string spoolerTarget(std::string_view queue);
std::string networkTarget(std::string_view address);  // "A.B.C.D"

}  // namespace drovik::history
