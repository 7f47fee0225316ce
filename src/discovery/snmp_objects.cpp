#include "discovery/snmp_objects.h"

#include <algorithm>
#include <array>

namespace drovik::discovery {

const std::vector<SnmpObject>& snmpObjects() {
  static const std::vector<SnmpObject> objects{
      {"sysDescr", {1, 3, 6, 1, 2, 1, 1, 1, 0}, &SnmpValues::sysDescr},
      {"sysName", {1, 3, 6, 1, 2, 1, 1, 5, 0}, &SnmpValues::sysName},
      {"sysLocation", {1, 3, 6, 1, 2, 1, 1, 6, 0}, &SnmpValues::sysLocation},
      {"sysContact", {1, 3, 6, 1, 2, 1, 1, 4, 0}, &SnmpValues::sysContact},
      {"hrDeviceDescr", {1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 3, 1}, &SnmpValues::hrDeviceDescr},
      {"prtGeneralSerialNumber", {1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 17, 1}, &SnmpValues::serialNumber},
  };
  return objects;
}

std::string errorStatusName(long status) {
  // RFC 3416's names, by number.
  static constexpr std::array<const char*, 19> kNames{"noError",
                                                      "tooBig",
                                                      "noSuchName",
                                                      "badValue",
                                                      "readOnly",
                                                      "genErr",
                                                      "noAccess",
                                                      "wrongType",
                                                      "wrongLength",
                                                      "wrongEncoding",
                                                      "wrongValue",
                                                      "noCreation",
                                                      "inconsistentValue",
                                                      "resourceUnavailable",
                                                      "commitFailed",
                                                      "undoFailed",
                                                      "authorizationError",
                                                      "notWritable",
                                                      "inconsistentName"};
  if (status >= 0 && status < static_cast<long>(kNames.size()))
    return kNames[static_cast<std::size_t>(status)];
  return "error-status " + std::to_string(status);
}

namespace {

std::string dotted(const oid* number, std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(number[i]);
  }
  return text;
}

}  // namespace

std::string reportNote(const netsnmp_variable_list* variables) {
  if (!variables || !variables->name || variables->name_length == 0)
    return "エージェントが要求を受け付けませんでした（報告の中身がありません）";
  // usmStats (RFC 3414): 1.3.6.1.6.3.15.1.1.N.0
  static const std::array<oid, 9> kUsmStats{1, 3, 6, 1, 6, 3, 15, 1, 1};
  const oid* name = variables->name;
  if (variables->name_length == kUsmStats.size() + 2 &&
      std::equal(kUsmStats.begin(), kUsmStats.end(), name)) {
    switch (name[kUsmStats.size()]) {
      case 1:
        return "この利用者にはこのセキュリティレベルが許されていません"
               "（usmStatsUnsupportedSecLevels）";
      case 2:
        return "エージェントの時刻と合いません（usmStatsNotInTimeWindows）";
      case 3:
        return "エージェントがこの利用者名を知りません（usmStatsUnknownUserNames）";
      case 4:
        return "エージェントのエンジン ID と合いません（usmStatsUnknownEngineIDs）";
      case 5:
        return "認証に失敗しました。認証方式かパスフレーズが違います（usmStatsWrongDigests）";
      case 6:
        return "復号に失敗しました。暗号化方式かパスフレーズが違います"
               "（usmStatsDecryptionErrors）";
      default:
        break;
    }
  }
  return "エージェントが要求を受け付けませんでした（報告 " +
         dotted(name, std::min<std::size_t>(variables->name_length, MAX_OID_LEN)) + "）";
}

}  // namespace drovik::discovery
