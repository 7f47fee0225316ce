#include "fleet/row_archive.h"

#include "files/atomic_file.h"
#include "nvram/nvram_decoder.h"
#include "nvram/nvram_files.h"

namespace drovik::fleet {

std::filesystem::path archivePathFor(const std::filesystem::path& plan) {
  std::filesystem::path archive = plan;
  return archive.replace_extension(".archive");
}

std::string rowArchiveName(const std::filesystem::path& archive, const std::string& name) {
  return (archive.filename() / name).string();
}

std::filesystem::path commandFileIn(const std::filesystem::path& folder, const std::string& name) {
  return folder / (name + ".sib");
}

Status createFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directory(folder, ec);
  if (!ec && !std::filesystem::is_directory(folder, ec) && !ec)
    ec = std::make_error_code(std::errc::not_a_directory);
  if (ec)
    return Error{"保存フォルダを作成できません: " + folder.string() + "（" + ec.message() + "）"};
  return {};
}

Status storeFetchedImages(const std::filesystem::path& fetched,
                          const std::filesystem::path& folder) {
  if (Status s = createFolder(folder); !s) return s;
  for (const std::string_view name : {nvram::kAllImageFileName, nvram::kNetworkImageFileName}) {
    auto image = nvram::readImageFile(fetched / name);
    if (!image) return image.error();
    const std::string_view bytes(reinterpret_cast<const char*>(image->data()), image->size());
    if (Status s = writeFileAtomically(folder / name, bytes); !s)
      return Error{"取得した設定を保存フォルダに書き込めません: " + s.message()};
  }
  return {};
}

}  // namespace drovik::fleet
