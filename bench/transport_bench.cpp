// The printer transports on loopback: a retrieval from the printer simulator end to end, an
// FTP send of the largest command, and a raw job handed to a private print spooler.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>

#include "bench_fixture.h"
#include "bench_targets.h"
#include "command/command_preparation.h"
#include "nvram/nvram_decoder.h"
#include "nvram/nvram_files.h"
#include "peers/job_sink.h"
#include "peers/printer_simulator.h"
#include "peers/private_cups.h"
#include "transport/cups_route.h"
#include "transport/ftp_route.h"
#include "transport/retrieval.h"

namespace {

using namespace drovik;

std::vector<std::uint8_t> largestCommand() {
  const auto& fixture = bench::twentyProfiles();
  ProfileModel model;
  (void)fixture.store.loadSection(model, fixture.slots[0].name);
  auto prepared = prepareCommand(model, CommandVariant::Ghjk);
  return prepared ? prepared->image.bytes : std::vector<std::uint8_t>{};
}

// One simulator for all runs: it serves plausible images and accepts both logins.
const test::PrinterSimulator* simulator() {
  static std::unique_ptr<test::PrinterSimulator> running = [] {
    test::PrinterSimulatorOptions options;
    options.password = "";
    options.allImage.assign(nvram::kAllImageReadSize, '\0');
    options.allImage[1] = 30;
    options.networkImage.assign(nvram::kNetworkImageReadSize, '\x0A');
    return std::make_unique<test::PrinterSimulator>(options);
  }();
  return running->problem().empty() ? running.get() : nullptr;
}

void BM_RetrievalEndToEnd(benchmark::State& state) {
  const test::PrinterSimulator* printer = simulator();
  if (!printer) return state.SkipWithError("no printer simulator (needs root for port 21)");
  test::TempDir programDir;
  ProfileModel model;
  for (auto _ : state) {
    transport::RunControl control;
    const auto outcome =
        transport::retrievePrinterImages(programDir.path(), printer->address(), "", control);
    if (!outcome.retrieved()) state.SkipWithError("not retrieved");
    if (!nvram::decodeRetrievedImages(model, nvram::readRetrievedImages(programDir.path())).empty())
      state.SkipWithError("not decoded");
  }
}
BENCHMARK(BM_RetrievalEndToEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FtpSendLargestCommand(benchmark::State& state) {
  const test::PrinterSimulator* printer = simulator();
  if (!printer) return state.SkipWithError("no printer simulator (needs root for port 21)");
  const auto image = largestCommand();
  test::TempDir programDir;
  transport::FtpRoute route(programDir.path(), printer->address());
  for (auto _ : state) {
    transport::RunControl control;
    if (image.size() != 2955 || !route.send(image, control).reached())
      state.SkipWithError("not sent");
  }
}
BENCHMARK(BM_FtpSendLargestCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// A send is followed until the spooler reports the job printed, so the queue's device takes
// every job; the run stays below the spooler's job limit.
void BM_SpoolRawJob(benchmark::State& state) {
  test::PrivateCups cups;
  if (!cups.problem().empty()) return state.SkipWithError(cups.problem().c_str());
  test::JobSink device;
  if (!device.listening() || !cups.addQueue("Bench", device.port()))
    return state.SkipWithError("no queue");
  const auto image = largestCommand();
  transport::CupsRoute route("Bench");
  for (auto _ : state) {
    transport::RunControl control;
    if (route.send(image, control).delivery != transport::Delivery::Delivered) {
      state.SkipWithError("not printed");
      break;
    }
  }
  if (device.bytes() != state.iterations() * image.size())
    state.SkipWithError("the device did not receive every job whole");
}
BENCHMARK(BM_SpoolRawJob)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100);

const bench::RegisterTarget kRetrievalTarget{{"retrieval from the simulator, decoded (wall)",
                                              "BM_RetrievalEndToEnd/real_time", 200.0, "", 0}};
const bench::RegisterTarget kFtpSendTarget{
    {"FTP send, 2955 bytes (wall)", "BM_FtpSendLargestCommand/real_time", 100.0, "", 0}};
// Until printed: the route asks about the job every kJobPollInterval (250 ms), so a job that
// prints at once still takes one interval; the target allows one more.
const bench::RegisterTarget kSpoolTarget{{"raw job to the spooler until printed, 2955 bytes (wall)",
                                          "BM_SpoolRawJob/iterations:100/real_time", 500.0, "", 0}};

}  // namespace
