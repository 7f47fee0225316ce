// Reading an older-model printer's settings from the command line: its address, the
// retrieval of its two NVRAM images with the password from standard input, and their
// decoding. fetch and diff --ip share it, so both ask and answer the same way.
#pragma once

#include "cli/cli_args.h"
#include "model/profile_store.h"
#include "nvram/nvram_files.h"
#include "service/profile_service.h"

namespace drovik::cli {

// The address of --ip; refuses a missing or malformed one.
Result<Ipv4Octets> printerAddress(const Args& args);

// Remembers the address as the retrieval address, reads the password from standard input
// and fetches the images, under the data folder's transfer lock. Returns the images as read
// under the lock and prints the outcome message on stderr; a failure's message carries its
// technical detail.
Result<nvram::PrinterImages> retrieveImages(const ProfileService& service, const StorePaths& paths,
                                            const Ipv4Octets& address);

// decode-nvram on images already read: decodes onto the defaults, --base or --into, saves
// into --into and prints the values. Returns the exit code.
int decodeAndShow(const Args& args, const nvram::PrinterImages& images);

}  // namespace drovik::cli
