#include "nvram/nvram_files.h"

#include <fstream>
#include <system_error>

#include "nvram/nvram_decoder.h"

namespace drovik::nvram {
namespace {

Error unreadable(const std::filesystem::path& path) {
  return Error{"ファイル「" + path.filename().string() +
               "」を読み込めませんでした\nこのファイルの設定は反映されません"};
}

}  // namespace

Result<std::vector<std::uint8_t>> readImageFile(const std::filesystem::path& path) {
  // A directory or a pipe would open but not read as a file (a pipe could block).
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return unreadable(path);
  std::ifstream in(path, std::ios::binary);
  if (!in.seekg(0, std::ios::end)) return unreadable(path);
  const std::streamoff size = in.tellg();
  if (size < 0) return unreadable(path);
  if (static_cast<std::uintmax_t>(size) > kMaxImageSize)
    return Error{std::string(kImageTooLargeMessage)};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0, std::ios::beg);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return unreadable(path);
  return bytes;
}

Result<PrinterImages> readPrinterImages(const std::filesystem::path& allImage,
                                        const std::filesystem::path& networkImage) {
  auto all = readImageFile(allImage);
  if (!all) return all.error();
  auto network = readImageFile(networkImage);
  if (!network) return network.error();
  return PrinterImages{std::move(*all), allImage.filename().string(), std::move(*network),
                       networkImage.filename().string()};
}

Result<std::vector<std::string>> decodePrinterImages(ProfileModel& model,
                                                     const PrinterImages& images) {
  auto decoded = decodeAllImage(model, images.all, images.allName);
  if (!decoded) return decoded.error();
  if (Status s = decodeNetworkImage(model, images.network, images.networkName); !s)
    return s.error();
  return std::move(decoded->warnings);
}

RetrievedImages readRetrievedImages(const std::filesystem::path& programDir) {
  return {readImageFile(programDir / kAllImageFileName),
          readImageFile(programDir / kNetworkImageFileName)};
}

Result<PrinterImages> bothImages(RetrievedImages images) {
  if (!images.all) return images.all.error();
  if (!images.network) return images.network.error();
  return PrinterImages{std::move(*images.all), std::string(kAllImageFileName),
                       std::move(*images.network), std::string(kNetworkImageFileName)};
}

std::vector<std::string> decodeRetrievedImages(ProfileModel& model, const RetrievedImages& images) {
  std::vector<std::string> messages;
  if (!images.all) {
    messages.push_back(images.all.message());
  } else if (auto decoded = decodeAllImage(model, *images.all); !decoded) {
    messages.push_back(decoded.message());
  } else {
    for (std::string& warning : decoded->warnings) messages.push_back(std::move(warning));
  }
  if (!images.network) {
    messages.push_back(images.network.message());
  } else if (Status decoded = decodeNetworkImage(model, *images.network); !decoded) {
    messages.push_back(decoded.message());
  }
  return messages;
}

}  // namespace drovik::nvram
