// The parts of net-snmp a sweep uses, loaded on first use and set up once: no MIB files read,
// no configuration or persistent files read or written, and none of the library's own log
// lines, so that a sweep leaves nothing behind and prints only what the program says.
#pragma once

#include <net-snmp/net-snmp-config.h>
// The others after the configuration, as net-snmp wants.
#include <net-snmp/library/large_fd_set.h>
#include <net-snmp/net-snmp-includes.h>

#include "files/status.h"

namespace drovik::discovery {

struct SnmpLibrary {
  decltype(&::snmp_sess_init) sessInit;
  decltype(&::snmp_sess_open) sessOpen;
  decltype(&::snmp_sess_session) sessSession;
  decltype(&::snmp_sess_transport) sessTransport;
  decltype(&::snmp_sess_async_send) sessAsyncSend;
  decltype(&::snmp_sess_select_info2) sessSelectInfo;
  decltype(&::snmp_sess_read2) sessRead;
  decltype(&::snmp_sess_timeout) sessTimeout;
  decltype(&::snmp_sess_close) sessClose;
  decltype(&::snmp_pdu_create) pduCreate;
  decltype(&::snmp_add_null_var) addNullVar;
  decltype(&::snmp_free_pdu) freePdu;
  decltype(&::snmp_api_errstring) apiErrstring;
  // USM: keys from passphrases, and the users each sweep leaves in the library's list.
  decltype(&::generate_Ku) generateKu;
  decltype(&::usm_get_user) usmGetUser;
  decltype(&::usm_remove_user) usmRemoveUser;
  decltype(&::usm_free_user) usmFreeUser;
  // Descriptor sets of any size, for reading one session.
  decltype(&::netsnmp_large_fd_set_init) fdSetInit;
  decltype(&::netsnmp_large_fd_set_resize) fdSetResize;
  decltype(&::netsnmp_large_fd_setfd) fdSetAdd;
  decltype(&::netsnmp_large_fd_set_cleanup) fdSetCleanup;
};

// The library, set up; an error for the operator when it cannot be loaded.
Result<const SnmpLibrary*> snmpLibrary();

}  // namespace drovik::discovery
