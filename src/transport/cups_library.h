// The parts of libcups the spooler route uses, loaded on first use.
#pragma once

#include <cups/cups.h>

#include "files/status.h"

namespace drovik::transport {

struct CupsLibrary {
  decltype(&::cupsServer) server;
  decltype(&::ippPort) port;
  decltype(&::cupsEncryption) encryption;
  decltype(&::httpConnect2) connect;
  decltype(&::httpSetTimeout) setTimeout;
  decltype(&::httpClose) close;
  decltype(&::cupsGetDests2) getDests;
  decltype(&::cupsGetOption) getOption;
  decltype(&::cupsFreeDests) freeDests;
  decltype(&::cupsLastError) lastError;
  decltype(&::cupsLastErrorString) lastErrorString;
  decltype(&::cupsCreateJob) createJob;
  decltype(&::cupsStartDocument) startDocument;
  decltype(&::cupsWriteRequestData) writeRequestData;
  decltype(&::cupsFinishDocument) finishDocument;
  decltype(&::cupsCancelJob2) cancelJob;
  // Following a job.
  decltype(&::cupsUser) user;
  decltype(&::ippNewRequest) newRequest;
  decltype(&::ippAddString) addString;
  decltype(&::ippAddStrings) addStrings;
  decltype(&::cupsDoRequest) doRequest;
  decltype(&::ippFindAttribute) findAttribute;
  decltype(&::ippGetCount) getCount;
  decltype(&::ippGetInteger) getInteger;
  decltype(&::ippGetString) getString;
  decltype(&::ippDelete) deleteIpp;
};

// The library; an error when it cannot be loaded.
Result<const CupsLibrary*> cupsLibrary();

}  // namespace drovik::transport
