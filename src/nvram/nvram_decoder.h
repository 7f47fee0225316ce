// Decoders of the two NVRAM images fetched from an older-model printer: the all-settings
// image (printer and per-user settings) and the network image. They change item values of
// the current profile only, each through the model's setters (record form, text form and
// write flag together); include flags and everything else stay as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "model/profile.h"

namespace drovik::nvram {

inline constexpr std::string_view kAllImageFileName = "rnvr_all.bin";
inline constexpr std::string_view kNetworkImageFileName = "rnvr_nw.bin";

// Bytes each decoder reads; a shorter image is refused as a whole.
inline constexpr std::size_t kAllImageReadSize = 1758;
inline constexpr std::size_t kNetworkImageReadSize = 13;
// Larger images are refused: no printer writes one, so it is the wrong file.
inline constexpr std::size_t kMaxImageSize = 102400;

inline constexpr std::string_view kImageTooLargeMessage = "ファイルサイズを100KB以下にしてください";

struct NvramDecodeResult {
  // Unsupported form lengths and paper thicknesses, one message per item and user, in
  // image order; each is shown to the operator in its own message box.
  std::vector<std::string> warnings;
};

// Decodes the all-settings image into the model. A refused image (too short or over
// kMaxImageSize) changes nothing; fileName only names the image in the refusal message.
Result<NvramDecodeResult> decodeAllImage(ProfileModel& model, std::span<const std::uint8_t> image,
                                         std::string_view fileName = kAllImageFileName);

// Decodes the network image (DHCP and the three addresses) into the model, with the same
// refusals as decodeAllImage.
Status decodeNetworkImage(ProfileModel& model, std::span<const std::uint8_t> image,
                          std::string_view fileName = kNetworkImageFileName);

}  // namespace drovik::nvram
