#include "command/image_dump.h"

#include <algorithm>
#include <iterator>

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

// The offset right-aligned in five columns.
void appendOffset(std::string& out, std::size_t offset) {
  char digits[20];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + offset % 10);
    offset /= 10;
  } while (offset != 0);
  if (count < 5) out.append(5 - count, ' ');
  while (count > 0) out += digits[--count];
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

// The problems as the listing gives them: by their place in the file, those of the file as a
// whole last. The reader's placed ones and the records' each come in file order, so they are
// merged rather than sorted: a damaged image can have a problem in every record.
std::vector<image::Problem> inListOrder(std::vector<image::Problem> framing,
                                        std::vector<image::Problem> records,
                                        std::vector<std::string> openBlocks) {
  const auto placedEnd = std::stable_partition(
      framing.begin(), framing.end(), [](const image::Problem& p) { return p.offset.has_value(); });
  std::vector<image::Problem> all;
  all.reserve(framing.size() + records.size() + openBlocks.size());
  std::merge(std::make_move_iterator(framing.begin()), std::make_move_iterator(placedEnd),
             std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()),
             std::back_inserter(all), [](const image::Problem& a, const image::Problem& b) {
               return *a.offset < *b.offset;
             });
  std::move(placedEnd, framing.end(), std::back_inserter(all));
  for (std::string& text : openBlocks) all.push_back({std::nullopt, std::move(text)});
  return all;
}

}  // namespace

ImageInspection InspectCommandImage(std::span<const std::uint8_t> bytes) {
  image::ImageStructure structure = image::ReadImageStructure(bytes);
  std::vector<image::Problem> recordProblems;
  std::vector<std::string> openBlocks;

  std::string listing = headerLines(bytes, structure);
  if (structure.headerComplete) {
    const image::ImageLayout layout = image::DetectLayout(structure.records);
    listing += "形式：" + layoutName(layout) + "\n";
    image::RecordDescriber describer(layout);
    // Appended piece by piece into room for the usual line length: a full image has hundreds
    // of records.
    listing.reserve(listing.size() + 100 * (structure.records.size() + 2));
    image::Description d;
    for (const image::RawRecord& record : structure.records) {
      describer.describe(record, d);
      appendOffset(listing, record.offset);
      listing += ": ";
      image::appendHexBytes(listing, record.bytes);
      listing += "  ";
      listing += d.text;
      listing += '\n';
      for (std::string& p : d.problems) recordProblems.push_back({record.offset, std::move(p)});
    }
    if (structure.terminatorOffset) {
      appendOffset(listing, *structure.terminatorOffset);
      listing += ": ";
      image::appendHexBytes(listing, layout::kTerminator);
      listing += "  終端\n";
    }
    // Blocks left open matter only when the file was read to its end.
    if (structure.terminatorOffset) openBlocks = describer.finish();
  }

  const std::vector<image::Problem> problems =
      inListOrder(std::move(structure.problems), std::move(recordProblems), std::move(openBlocks));
  if (problems.empty()) {
    listing += "問題：なし\n";
  } else {
    listing += "問題：" + std::to_string(problems.size()) + " 件\n";
    // A damaged file can have a problem in every record.
    std::size_t length = listing.size();
    for (const image::Problem& p : problems) length += p.text.size() + 40;
    listing.reserve(length);
    for (const image::Problem& p : problems) {
      listing += "  ・";
      if (p.offset) {
        listing += "オフセット ";
        listing += std::to_string(*p.offset);
        listing += "：";
      }
      listing += p.text;
      listing += '\n';
    }
  }
  return {std::move(listing), problems.empty()};
}

bool IsWellFormedCommandImage(std::span<const std::uint8_t> bytes) {
  return InspectCommandImage(bytes).wellFormed;
}

}  // namespace drovik
