// How the device search's time grows with the machine's device list, and what
// it allocates: simulated machines of growing size, each built once, outside
// the timed loop. Times are reported, never checked.
#include <benchmark/benchmark.h>
#include <stdio.h>

#include <string>

#include "device/find_camera_device.h"
#include "device/hardware_id_table.h"
#include "platform/standin/machine.h"
#include "tests/support/simulated_camera.h"

namespace {

enum class Layout {
  kCameraLast,         // every node in the Image class, the camera last
  kNoCamera,           // no camera: both passes go through every node
  kCameraUnderUsbOnly  // the camera last, listed by the USB enumerator only
};

// Another product of the same maker: its IDs have the table's length and differ
// only in the product number, so every comparison runs to the last digits.
sim::DeviceNode OtherDevice(int index) {
  char instance[64];
  char revised[40];
  char bare[32];
  snprintf(instance, sizeof instance, "USB\\VID_5E3A&PID_1%03X\\7&%08X&0&1", index % 4096, index);
  snprintf(revised, sizeof revised, "USB\\VID_5E3A&PID_1%03X&REV_0100", index % 4096);
  snprintf(bare, sizeof bare, "USB\\VID_5E3A&PID_1%03X", index % 4096);
  sim::DeviceNode node;
  node.instanceId = instance;
  node.hardwareIds = sim::MultiString({revised, bare});
  return node;
}

// The machine stays built while the benchmark runs again with other
// iteration counts, so each layout and size is set up once.
void BuildMachine(Layout layout, int nodeCount) {
  static Layout builtLayout;
  static int builtCount = 0;
  if (builtCount == nodeCount && builtLayout == layout) return;
  sim::ResetMachine();
  sim::KeepCallLog(false);
  const int others = layout == Layout::kNoCamera ? nodeCount : nodeCount - 1;
  for (int i = 0; i < others; ++i) sim::AddDevice(OtherDevice(i));
  if (layout != Layout::kNoCamera) {
    AddCamera("TX7105 USB Camera", layout == Layout::kCameraLast);
  }
  builtLayout = layout;
  builtCount = nodeCount;
}

// The device-database calls that the search makes for each node it meets.
int NodeCalls() {
  return sim::CallCount("SetupDiEnumDeviceInfo") + sim::CallCount("CM_Locate_DevNodeA") +
         sim::CallCount("CM_Get_DevNode_Registry_PropertyA") +
         sim::CallCount("CM_Get_DevNode_Status");
}

// Reports time per node; the platform calls per node, which stay the same at
// every size when the work grows linearly; and heap allocations per search:
// the first pass allocates nothing, the second exactly one block.
void FindCameraDeviceOn(benchmark::State& state, Layout layout) {
  const int nodeCount = static_cast<int>(state.range(0));
  BuildMachine(layout, nodeCount);
  char productName[MAX_PATH];
  char description[MAX_PATH];
  const char* const rows[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  const DeviceQuery query = {rows,        kHardwareIdRowCount, productName, sizeof productName,
                             description, sizeof description};
  const int allocationsBefore = sim::CallCount("HeapAlloc");
  const int callsBefore = NodeCalls();
  int found = 0;
  for (auto _ : state) {
    found = FindCameraDevice(query);
    benchmark::DoNotOptimize(found);
    benchmark::ClobberMemory();
  }
  const int allocations = sim::CallCount("HeapAlloc") - allocationsBefore;
  const double calls = NodeCalls() - callsBefore;
  state.counters["per_node"] = benchmark::Counter(
      nodeCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["calls_per_node"] = calls / static_cast<double>(state.iterations()) / nodeCount;
  state.counters["allocs"] = benchmark::Counter(allocations, benchmark::Counter::kAvgIterations);
  state.SetComplexityN(nodeCount);
  if (found != (layout == Layout::kNoCamera ? 0 : 1)) {
    state.SkipWithError(("search result " + std::to_string(found)).c_str());
  } else if (sim::Open().heapBlocks != 0 || sim::Open().registryKeys != 0 ||
             sim::Open().deviceLists != 0) {
    state.SkipWithError("the search left something open");
  }
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->RangeMultiplier(10)->Range(1000, 100000);
  benchmark->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(FindCameraDeviceOn, camera_last, Layout::kCameraLast)->Apply(Sizes);
BENCHMARK_CAPTURE(FindCameraDeviceOn, no_camera, Layout::kNoCamera)->Apply(Sizes);
BENCHMARK_CAPTURE(FindCameraDeviceOn, camera_under_usb_only, Layout::kCameraUnderUsbOnly)
    ->Apply(Sizes);

}  // namespace
