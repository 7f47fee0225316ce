// Reading an older-model printer's settings from the command line: its address, the
// retrieval of its two NVRAM images with the password from standard input, and their
// decoding. fetch and diff --ip share it, so both ask and answer the same way.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "model/profile_store.h"
#include "service/profile_service.h"

namespace drovik::cli {

// The address of --ip; refuses a missing or malformed one.
Result<Ipv4Octets> printerAddress(const Args& args);

// Remembers the address as the retrieval address, reads the password from standard input
// and fetches the images into the program directory. Prints the outcome message on stderr
// when they were retrieved; a failure's message carries its technical detail.
Status retrieveImages(const ProfileService& service, const StorePaths& paths,
                      const Ipv4Octets& address);

// Decodes the two image files into the model, refusing either image as a whole; returns the
// warnings about unsupported values.
Result<std::vector<std::string>> decodeImageFiles(ProfileModel& model,
                                                  const std::filesystem::path& allPath,
                                                  const std::filesystem::path& nwPath);

// The images retrieveImages leaves, decoded into the model.
Result<std::vector<std::string>> decodeRetrievedImageFiles(ProfileModel& model,
                                                           const StorePaths& paths);

}  // namespace drovik::cli
