// The first parallel port of the machine, as the batch command "copy /b FILE lpt1" names it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "files/status.h"
#include "transport/run_control.h"

namespace drovik::transport {

// Where the first parallel port may appear, in order: the built-in port, then a USB adapter.
std::vector<std::filesystem::path> defaultParallelDevices();

// The first of the candidates that exists, or an error for the operator's detail line.
Result<std::filesystem::path> findParallelPort(
    const std::vector<std::filesystem::path>& candidates);

// Writes all bytes to the device. A printer that is off or a port without a reader does not
// hang the program: waits are bounded by control's remaining time and its cancel request.
Status copyToDevice(std::span<const std::uint8_t> bytes, const std::filesystem::path& device,
                    RunControl& control);

}  // namespace drovik::transport
