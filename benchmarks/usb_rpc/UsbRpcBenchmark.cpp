// Transactions per second through Halvex-Rpc32.dll against a simulated device
// whose answer is ready at once. Run under Wine with
// WINEDLLOVERRIDES="winusb,setupapi=n" from the benchmark's folder.
#include <windows.h>

#include <stdio.h>

#include <vector>

#include "HalvexRpc.h"
#include "HalvexSim.h"

namespace {

using halvex_sim::Completion;

struct Scenario {
  const char* what;
  Completion completion;
  uint32_t payloadBytes;
  uint32_t blockBytes;
  uint32_t blockCount;
};

double seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int transactions = argc > 1 ? atoi(argv[1]) : 200000;
  halvex_sim::State& sim = halvex_sim::state();
  sim.record = false;
  sim.signalSynchronous = false;
  halvex_sim::Device& simDevice = halvex_sim::addDevice();

  HMODULE library = LoadLibraryA("Halvex-Rpc32.dll");
  auto entry = library ? reinterpret_cast<HalvexRpcGetInterfaceFn>(reinterpret_cast<void (*)()>(
                             GetProcAddress(library, HALVEX_RPC_ENTRY_NAME)))
                       : nullptr;
  HalvexRpc* rpc = entry ? entry(HALVEX_RPC_INTERFACE_VERSION) : nullptr;
  if (rpc == nullptr) {
    fprintf(stderr, "Halvex-Rpc32.dll or the stand-in platform libraries did not load\n");
    return 1;
  }
  HalvexRpc::Enumerator* enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
  HalvexRpc::UsbDevice* device = enumerator->openDevice();
  if (device == nullptr) {
    fprintf(stderr, "the simulated device did not open\n");
    return 1;
  }

  const Scenario scenarios[] = {
      {"no payload, answered at once", Completion::Immediate, 0, 0, 0},
      {"128-byte payload, answered at once", Completion::Immediate, 128, 0, 0},
      {"two 64-byte blocks, answered at once", Completion::Immediate, 0, 64, 2},
      {"no payload, answered through the overlapped wait", Completion::Pending, 0, 0, 0},
  };
  std::vector<uint8_t> payload(128, 0x5A);
  std::vector<uint8_t> data(4096, 0xA5);
  printf("%-52s %12s %10s\n", "scenario", "trans./s", "us/trans.");
  for (const Scenario& s : scenarios) {
    simDevice.everyRead = halvex_sim::Transfer{s.completion, halvex_sim::countedReply(0, {1, 2})};
    if (s.completion != Completion::Immediate) {
      // Writes answer the same way as reads in this scenario.
      simDevice.writes.assign(static_cast<size_t>(transactions + 1000) * (1 + s.blockCount),
                              halvex_sim::Transfer{s.completion, {}});
    }
    auto run = [&](int count) {
      for (int i = 0; i < count; ++i)
        if (!device->transact(0x1002, s.payloadBytes ? payload.data() : nullptr, s.payloadBytes,
                              s.blockCount ? data.data() : nullptr, s.blockBytes, s.blockCount))
          return false;
      return true;
    };
    if (!run(1000)) {
      fprintf(stderr, "transaction failed in \"%s\"\n", s.what);
      return 1;
    }
    const double start = seconds();
    if (!run(transactions)) {
      fprintf(stderr, "transaction failed in \"%s\"\n", s.what);
      return 1;
    }
    const double elapsed = seconds() - start;
    printf("%-52s %12.0f %10.2f\n", s.what, transactions / elapsed, 1e6 * elapsed / transactions);
    simDevice.writes.clear();
  }

  // For scale: one round trip to the platform's event service, which the waited
  // scenario pays several times per transaction.
  HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  const double start = seconds();
  for (int i = 0; i < 20000; ++i) SetEvent(event);
  printf("%-52s %23.2f\n", "one SetEvent, for scale (us)", 1e6 * (seconds() - start) / 20000);
  CloseHandle(event);

  device->release();
  enumerator->release();
  rpc->release();
  return 0;
}
