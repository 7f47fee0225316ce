// Names the setting each record of a command binary carries and decodes its value back to
// the display text, in the layout the image turns out to have. Follows the user blocks and
// the network block as it goes, so records out of place are noticed.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "command/image_reader.h"
#include "command/value_codes.h"

namespace drovik::image {

enum class ImageLayout {
  None,  // no records: fits either
  Ghjk,  // has user, name or interface records
  M,     // only setting records of the initial user
};

// GHJK records (user, name, interface and network) never occur in an M command.
ImageLayout DetectLayout(std::span<const RawRecord> records);

struct Description {
  std::string text;  // "ユーザー３ リアトラクタ 紙厚設定：自動調整（普通）"
  std::vector<std::string> problems;  // what is wrong with this record
};

class RecordDescriber {
 public:
  explicit RecordDescriber(ImageLayout layout) : layout_(layout) {}

  // Fills `out` (its previous content is dropped, its buffers kept).
  void describe(const RawRecord& record, Description& out);
  // Blocks still open after the last record.
  std::vector<std::string> finish() const;

 private:
  CommandVariant variant() const;
  void appendUserPrefix(Description& out) const;
  void describeUserRecord(std::uint8_t qualifier, std::uint8_t high, std::uint8_t low,
                          Description& out);
  void describeNetworkRecord(std::uint8_t qualifier, std::uint8_t high, std::uint8_t low,
                             Description& out);
  void requireNetworkBlock(Description& out) const;

  ImageLayout layout_;
  int user_ = -1;  // user block being read (GHJK)
  bool anyUserBlock_ = false;
  bool usersEnded_ = false;
  bool inNetwork_ = false;
};

}  // namespace drovik::image
