#include "transport/parallel_route.h"

#include "transport/batch_runner.h"
#include "transport/generated_files.h"
#include "transport/transport_messages.h"

namespace drovik::transport {

ParallelRoute::ParallelRoute(std::filesystem::path programDir,
                             std::vector<std::filesystem::path> devices)
    : programDir_(std::move(programDir)), devices_(std::move(devices)) {}

SendOutcome ParallelRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  const auto failed = [](const Status& why) {
    return SendOutcome::failed(std::string(kParallelFailedMessage), why.message());
  };
  auto folder = TransferFolder::open(programDir_);
  if (!folder) return failed(folder.status());
  if (Status free = checkTransferFiles(*folder, {kCommandFileName, kParallelBatchName}); !free)
    return SendOutcome::failed(free.message());
  GeneratedFiles files(*folder);
  auto commandFile = files.writeCommandFile(image);
  if (!commandFile) return failed(commandFile.status());
  auto batch = files.writeText(kParallelBatchName, parallelBatchText(*commandFile));
  if (!batch) return failed(batch.status());
  if (BatchRun run = runGeneratedBatch(files, *batch, {devices_}, control); !run.ran)
    return failed(run.ran);
  return SendOutcome::delivered(std::string(kParallelSentMessage));
}

}  // namespace drovik::transport
