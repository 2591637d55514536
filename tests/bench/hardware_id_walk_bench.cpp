// The comparison walk alone, per byte of hardware-ID list: lists of IDs that
// never match, so that every byte is walked. Times are reported, never checked.
#include <benchmark/benchmark.h>
#include <stdio.h>

#include <string>

#include "device/hardware_id_list.h"
#include "device/hardware_id_table.h"

namespace {

// One entry as a device lists it: an ID with its revision, the bare ID, or
// two IDs between commas; all of the same maker as the camera.
std::string OtherEntry(int product) {
  char revised[40];
  char bare[32];
  snprintf(revised, sizeof revised, "USB\\VID_5E3A&PID_1%03X&REV_0100", product / 3 % 4096);
  snprintf(bare, sizeof bare, "USB\\VID_5E3A&PID_1%03X", product / 3 % 4096);
  if (product % 3 == 0) return revised;
  if (product % 3 == 1) return bare;
  return std::string(bare) + "," + revised;
}

// A multi-string of `size` bytes that never matches: entries while they fit,
// the bytes left as one entry of filler, and the closing empty entry on the
// last byte.
std::string OtherIdList(size_t size) {
  std::string list;
  for (int product = 0;; ++product) {
    const std::string entry = OtherEntry(product);
    if (list.size() + entry.size() + 1 > size - 1) break;
    list += entry + '\0';
  }
  const size_t rest = size - 1 - list.size();
  if (rest > 0) list += std::string(rest - 1, 'X') + '\0';
  return list + '\0';
}

void WalkHardwareIdList(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  const std::string list = OtherIdList(size);
  const char* const rows[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  int matched = 0;
  for (auto _ : state) {
    matched = MatchHardwareIdList(list.data(), static_cast<DWORD>(list.size()), rows,
                                  kHardwareIdRowCount);
    benchmark::DoNotOptimize(matched);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
  state.SetComplexityN(static_cast<int64_t>(size));
  if (matched != 0) state.SkipWithError("a list of other IDs matched");
}

// 260 bytes is the search's work buffer; longer lists show the growth.
BENCHMARK(WalkHardwareIdList)->Arg(64)->Arg(260)->Arg(4096)->Arg(65536)->Complexity(benchmark::oN);

}  // namespace
