// The objects a sweep asks every printer for, by number (Debian has no MIB files), and the
// words for what an agent's codes mean.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "discovery/snmp_library.h"
#include "discovery/snmp_query.h"

namespace drovik::discovery {

struct SnmpObject {
  const char* name;  // as the notes name it
  std::vector<oid> number;
  std::optional<std::string> SnmpValues::*value;
};

// In the order of one GET: the system group's, then the printer's (device 1).
const std::vector<SnmpObject>& snmpObjects();

// "noSuchName" for 2, and so on; "error-status N" for a number no standard names.
std::string errorStatusName(long status);

// What a report PDU's first variable says, for the operator: a USM counter (wrong digests,
// unknown user, ...) or the object's number.
std::string reportNote(const netsnmp_variable_list* variables);

}  // namespace drovik::discovery
