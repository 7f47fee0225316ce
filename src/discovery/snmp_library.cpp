#include "discovery/snmp_library.h"

#include "transport/shared_library.h"

namespace drovik::discovery {

namespace {

// Used once, before the first session.
struct SnmpSetup {
  decltype(&::netsnmp_ds_set_boolean) setBoolean;
  decltype(&::netsnmp_ds_set_string) setString;
  decltype(&::netsnmp_set_mib_directory) setMibDirectory;
  decltype(&::netsnmp_register_loghandler) registerLogHandler;
  decltype(&::init_snmp) init;
};

// A path that can never be a directory, for root too: nothing is read from it or created under
// it (the library makes its certificate index below the persistent directory even when told
// not to save anything).
constexpr const char* kNoDirectory = "/dev/null";

void setUp(const SnmpSetup& setup) {
  // Every line the library would log is dropped: the sweep's answers say what matters.
  setup.registerLogHandler(NETSNMP_LOGHANDLER_NONE, LOG_DEBUG);
  for (int option : {NETSNMP_DS_LIB_DONT_READ_CONFIGS, NETSNMP_DS_LIB_DONT_PERSIST_STATE,
                     NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE,
                     NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, NETSNMP_DS_LIB_ALARM_DONT_USE_SIG})
    setup.setBoolean(NETSNMP_DS_LIBRARY_ID, option, 1);
  setup.setString(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, kNoDirectory);
  setup.setString(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, kNoDirectory);
  // Objects are named by number: no MIB module is found, whatever MIBS says.
  setup.setMibDirectory(kNoDirectory);
  setup.init("drovik-discovery");
}

}  // namespace

Result<const SnmpLibrary*> snmpLibrary() {
  struct Loaded {
    transport::SharedLibrary library{"libnetsnmp.so.40"};
    SnmpLibrary api{};
    Loaded() {
      library.bind(api.sessInit, "snmp_sess_init");
      library.bind(api.sessOpen, "snmp_sess_open");
      library.bind(api.sessSession, "snmp_sess_session");
      library.bind(api.sessTransport, "snmp_sess_transport");
      library.bind(api.sessAsyncSend, "snmp_sess_async_send");
      library.bind(api.sessSelectInfo, "snmp_sess_select_info2");
      library.bind(api.sessRead, "snmp_sess_read2");
      library.bind(api.sessTimeout, "snmp_sess_timeout");
      library.bind(api.sessClose, "snmp_sess_close");
      library.bind(api.pduCreate, "snmp_pdu_create");
      library.bind(api.addNullVar, "snmp_add_null_var");
      library.bind(api.freePdu, "snmp_free_pdu");
      library.bind(api.apiErrstring, "snmp_api_errstring");
      library.bind(api.generateKu, "generate_Ku");
      library.bind(api.usmGetUser, "usm_get_user");
      library.bind(api.usmRemoveUser, "usm_remove_user");
      library.bind(api.usmFreeUser, "usm_free_user");
      library.bind(api.fdSetInit, "netsnmp_large_fd_set_init");
      library.bind(api.fdSetResize, "netsnmp_large_fd_set_resize");
      library.bind(api.fdSetAdd, "netsnmp_large_fd_setfd");
      library.bind(api.fdSetCleanup, "netsnmp_large_fd_set_cleanup");
      SnmpSetup setup{};
      library.bind(setup.setBoolean, "netsnmp_ds_set_boolean");
      library.bind(setup.setString, "netsnmp_ds_set_string");
      library.bind(setup.setMibDirectory, "netsnmp_set_mib_directory");
      library.bind(setup.registerLogHandler, "netsnmp_register_loghandler");
      library.bind(setup.init, "init_snmp");
      if (library.problem().empty()) setUp(setup);
    }
  };
  static const Loaded loaded;  // thread-safe, once
  if (!loaded.library.problem().empty())
    return Error{"SNMP のライブラリを使えません: " + loaded.library.problem()};
  return &loaded.api;
}

}  // namespace drovik::discovery
