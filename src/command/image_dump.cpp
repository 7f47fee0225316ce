#include "command/image_dump.h"

#include <algorithm>
#include <limits>

#include "command/image_reader.h"
#include "command/record_description.h"
#include "command/record_layout.h"

namespace drovik {
namespace {

using image::hexBytes;

std::string layoutName(image::ImageLayout layout) {
  switch (layout) {
    case image::ImageLayout::Ghjk:
      return "8630-GHJK（全ユーザー・ユーザー名・インターフェース）";
    case image::ImageLayout::M:
      return "8630-M（初期ユーザーのみ）";
    default:
      return "判別できません（設定レコードがありません）";
  }
}

std::string offsetText(std::size_t offset) {
  std::string text = std::to_string(offset);
  return std::string(text.size() < 5 ? 5 - text.size() : 0, ' ') + text;
}

std::string headerLines(std::span<const std::uint8_t> bytes, const image::ImageStructure& s) {
  const auto part = [&](std::size_t from, std::size_t count) {
    return from >= bytes.size()
               ? std::string("（なし）")
               : hexBytes(bytes.subspan(from, std::min(count, bytes.size() - from)));
  };
  std::string text = "ファイルサイズ：" + std::to_string(s.size) + " バイト\n";
  text += "先頭コマンド：" + part(0, layout::kLeadingCommand.size()) + "\n";
  text += "設定コマンド：" + part(layout::kLeadingCommand.size(), 3) + "\n";
  text += "長さフィールド：";
  text += s.lengthField ? std::to_string(*s.lengthField) + "（" + part(9, 2) + "）"
                        : std::string("（なし）");
  return text + "\n";
}

}  // namespace

ImageInspection InspectCommandImage(std::span<const std::uint8_t> bytes) {
  const image::ImageStructure structure = image::ReadImageStructure(bytes);
  std::vector<image::Problem> problems = structure.problems;

  std::string listing = headerLines(bytes, structure);
  if (structure.headerComplete) {
    const image::ImageLayout layout = image::DetectLayout(structure.records);
    listing += "形式：" + layoutName(layout) + "\n";
    image::RecordDescriber describer(layout);
    // Appended piece by piece: a full image has hundreds of records.
    for (const image::RawRecord& record : structure.records) {
      image::Description d = describer.describe(record);
      listing += offsetText(record.offset);
      listing += ": ";
      listing += hexBytes(record.bytes);
      listing += "  ";
      listing += d.text;
      listing += '\n';
      for (std::string& p : d.problems) problems.push_back({record.offset, std::move(p)});
    }
    if (structure.terminatorOffset)
      listing += offsetText(*structure.terminatorOffset) + ": " + hexBytes(layout::kTerminator) +
                 "  終端\n";
    // Blocks left open matter only when the file was read to its end.
    if (structure.terminatorOffset)
      for (std::string& p : describer.finish()) problems.push_back({std::nullopt, std::move(p)});
  }

  // Problems without a place (the file as a whole) come last.
  static constexpr std::size_t kEnd = std::numeric_limits<std::size_t>::max();
  std::stable_sort(problems.begin(), problems.end(),
                   [](const image::Problem& a, const image::Problem& b) {
                     return a.offset.value_or(kEnd) < b.offset.value_or(kEnd);
                   });
  if (problems.empty()) {
    listing += "問題：なし\n";
  } else {
    listing += "問題：" + std::to_string(problems.size()) + " 件\n";
    for (const image::Problem& p : problems)
      listing += "  ・" + (p.offset ? "オフセット " + std::to_string(*p.offset) + "：" : "") +
                 p.text + "\n";
  }
  return {std::move(listing), problems.empty()};
}

std::string DumpCommandImage(std::span<const std::uint8_t> bytes) {
  return InspectCommandImage(bytes).listing;
}

bool IsWellFormedCommandImage(std::span<const std::uint8_t> bytes) {
  return InspectCommandImage(bytes).wellFormed;
}

}  // namespace drovik
