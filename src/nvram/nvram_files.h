// Reading the NVRAM image files that a retrieval leaves in the program directory, and
// decoding both of them into the current profile.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/status.h"
#include "model/profile.h"

namespace drovik::nvram {

// The whole file. Refuses, with a message for the operator, a file that is missing or is
// not a regular file or cannot be read, and one over kMaxImageSize bytes (without reading
// it).
Result<std::vector<std::uint8_t>> readImageFile(const std::filesystem::path& path);

// A printer's two images, with the names of the files they came from (for the messages).
struct PrinterImages {
  std::vector<std::uint8_t> all;
  std::string allName;
  std::vector<std::uint8_t> network;
  std::string networkName;
};

// Reads both image files; either one refused refuses both.
Result<PrinterImages> readPrinterImages(const std::filesystem::path& allImage,
                                        const std::filesystem::path& networkImage);

// Decodes both images into the model, refusing either image as a whole; returns the warnings
// about unsupported values.
Result<std::vector<std::string>> decodePrinterImages(ProfileModel& model,
                                                     const PrinterImages& images);

// rnvr_all.bin and rnvr_nw.bin as a retrieval left them in programDir, each read on its own.
// Read while the retrieval still holds the folder's transfer lock, so that another copy's
// retrieval cannot replace them before they are decoded.
struct RetrievedImages {
  Result<std::vector<std::uint8_t>> all = Error{};
  Result<std::vector<std::uint8_t>> network = Error{};
};
RetrievedImages readRetrievedImages(const std::filesystem::path& programDir);

// Both images for the decoders that refuse either as a whole; the first refusal otherwise.
Result<PrinterImages> bothImages(RetrievedImages images);

// The retrieval's last step: decodes rnvr_all.bin, then rnvr_nw.bin, into the model. A file
// that could not be read or is refused leaves the model unchanged for it, and the other file
// is still decoded. Returns the messages for the operator in the order they arose (refusals
// and unsupported-value warnings), each for its own message box.
std::vector<std::string> decodeRetrievedImages(ProfileModel& model, const RetrievedImages& images);

}  // namespace drovik::nvram
