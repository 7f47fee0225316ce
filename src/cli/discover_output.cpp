#include "cli/discover_output.h"

#include "cli/json_output.h"
#include "transport/ipv4_address.h"

namespace drovik::cli {
namespace {

using discovery::FoundPrinter;
using discovery::PrinterModel;

// A column of the text output: one line, no tabs.
std::string column(std::string text) {
  if (text.empty()) return "-";
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

Json orNull(const std::optional<std::string>& value) {
  return value ? Json(*value) : Json(nullptr);
}
Json orNull(const std::string& value) { return value.empty() ? Json(nullptr) : Json(value); }

Json snmpJson(const std::optional<discovery::SnmpValues>& values) {
  if (!values) return nullptr;
  return {{"sysDescr", orNull(values->sysDescr)},
          {"sysName", orNull(values->sysName)},
          {"sysLocation", orNull(values->sysLocation)},
          {"sysContact", orNull(values->sysContact)},
          {"hrDeviceDescr", orNull(values->hrDeviceDescr)},
          {"prtGeneralSerialNumber", orNull(values->serialNumber)}};
}

Json printerJson(const FoundPrinter& printer) {
  return {{"address", transport::dottedOctets(printer.address)},
          {"model", printer.model.kind == PrinterModel::Kind::Unknown ? Json(nullptr)
                                                                      : Json(printer.model.name)},
          {"kind", discovery::kindKey(printer.model.kind)},
          {"name", orNull(printer.name())},
          {"location", orNull(printer.location())},
          {"serial", orNull(printer.serial())},
          {"answered_by", printer.answeredBy()},
          {"greeting", printer.greeting ? Json(printer.greeting->lines) : Json(nullptr)},
          {"snmp", snmpJson(printer.snmp)},
          {"notes", printer.notes}};
}

}  // namespace

std::string discoveryLines(const discovery::SweepReport& report) {
  std::string out;
  for (const FoundPrinter& printer : report.found)
    out += transport::dottedOctets(printer.address) + "\t" +
           column(discovery::modelText(printer.model)) + "\t" + column(printer.name()) + "\t" +
           column(printer.location()) + "\t" + column(printer.serial()) + "\t" +
           printer.answeredBy() + "\n";
  return out;
}

std::string discoveryJson(const discovery::SweepReport& report) {
  using Kind = PrinterModel::Kind;
  Json printers = Json::array();
  for (const FoundPrinter& printer : report.found) printers.push_back(printerJson(printer));
  return jsonText({{"named", report.named},
                   {"asked", report.asked},
                   {"cancelled", report.cancelled},
                   {"counts",
                    {{"answered", report.found.size()},
                     {"old", report.count(Kind::Old)},
                     {"new", report.count(Kind::New)},
                     {"other", report.count(Kind::Other) + report.count(Kind::Unknown)},
                     {"silent", report.silent()}}},
                   {"printers", printers},
                   {"notes", report.notes}});
}

}  // namespace drovik::cli
