#include "transport/cups_library.h"

#include "transport/shared_library.h"

namespace drovik::transport {

Result<const CupsLibrary*> cupsLibrary() {
  struct Loaded {
    SharedLibrary library{"libcups.so.2"};
    CupsLibrary api{};
    Loaded() {
      library.bind(api.server, "cupsServer");
      library.bind(api.port, "ippPort");
      library.bind(api.encryption, "cupsEncryption");
      library.bind(api.connect, "httpConnect2");
      library.bind(api.setTimeout, "httpSetTimeout");
      library.bind(api.close, "httpClose");
      library.bind(api.getDests, "cupsGetDests2");
      library.bind(api.getOption, "cupsGetOption");
      library.bind(api.freeDests, "cupsFreeDests");
      library.bind(api.lastError, "cupsLastError");
      library.bind(api.lastErrorString, "cupsLastErrorString");
      library.bind(api.createJob, "cupsCreateJob");
      library.bind(api.startDocument, "cupsStartDocument");
      library.bind(api.writeRequestData, "cupsWriteRequestData");
      library.bind(api.finishDocument, "cupsFinishDocument");
      library.bind(api.cancelJob, "cupsCancelJob2");
      library.bind(api.user, "cupsUser");
      library.bind(api.newRequest, "ippNewRequest");
      library.bind(api.addString, "ippAddString");
      library.bind(api.addStrings, "ippAddStrings");
      library.bind(api.doRequest, "cupsDoRequest");
      library.bind(api.findAttribute, "ippFindAttribute");
      library.bind(api.getCount, "ippGetCount");
      library.bind(api.getInteger, "ippGetInteger");
      library.bind(api.getString, "ippGetString");
      library.bind(api.deleteIpp, "ippDelete");
    }
  };
  static const Loaded loaded;  // thread-safe, once
  if (!loaded.library.problem().empty()) return Error{loaded.library.problem()};
  return &loaded.api;
}

}  // namespace drovik::transport
