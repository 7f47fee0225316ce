#include "discovery/printer_model.h"

#include "ini/text_codec.h"
#include "transport/ftp_log.h"

namespace drovik::discovery {

PrinterModel modelIn(std::string_view text) {
  for (std::string_view old : transport::kSupportedModels)
    if (text.find(old) != std::string_view::npos)
      return {PrinterModel::Kind::Old, std::string(old)};
  if (text.find(kNewModel) != std::string_view::npos)
    return {PrinterModel::Kind::New, std::string(kNewModel)};
  if (text.empty()) return {};
  return {PrinterModel::Kind::Other, ini::truncateUtf16(text, kMaxOtherName)};
}

std::string_view kindLabel(PrinterModel::Kind kind) {
  switch (kind) {
    case PrinterModel::Kind::Old:
      return "旧機種";
    case PrinterModel::Kind::New:
      return kNewModel;
    case PrinterModel::Kind::Other:
      return "その他";
    case PrinterModel::Kind::Unknown:
      break;
  }
  return "不明";
}

std::string modelText(const PrinterModel& model) {
  switch (model.kind) {
    case PrinterModel::Kind::Old:
    case PrinterModel::Kind::New:
      return model.name;
    case PrinterModel::Kind::Other:
      return "その他（" + model.name + "）";
    case PrinterModel::Kind::Unknown:
      break;
  }
  return std::string(kindLabel(model.kind));
}

std::string_view kindKey(PrinterModel::Kind kind) {
  switch (kind) {
    case PrinterModel::Kind::Old:
      return "old";
    case PrinterModel::Kind::New:
      return "new";
    case PrinterModel::Kind::Other:
      return "other";
    case PrinterModel::Kind::Unknown:
      break;
  }
  return "unknown";
}

}  // namespace drovik::discovery
