// The comparison walk over any bytes and any table. Input: one byte whose low
// two bits give the row count, that many rows each ended by a newline, then
// the hardware-ID list's bytes to the end. The rows and the list lie in heap
// blocks of exactly their size, so a read past either is seen. The answer is
// compared with the walk as the table of IDs describes it: NUL-terminated
// entries up to the first empty one, comma-separated pieces, equal when
// equal but for the case of A to Z.
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "device/hardware_id_list.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool AnyRowEquals(const std::string& piece, const std::vector<std::string>& rows) {
  for (const std::string& row : rows) {
    if (fuzz::FoldAscii(piece) == fuzz::FoldAscii(row)) return true;
  }
  return false;
}

bool ExpectedMatch(const std::string& list, const std::vector<std::string>& rows) {
  size_t offset = 0;
  while (offset < list.size()) {
    const size_t end = list.find('\0', offset);
    if (end == std::string::npos || end == offset) break;
    const std::string entry = list.substr(offset, end - offset);
    size_t start = 0;
    while (start <= entry.size()) {
      size_t comma = entry.find(',', start);
      if (comma == std::string::npos) comma = entry.size();
      if (comma > start && AnyRowEquals(entry.substr(start, comma - start), rows)) return true;
      start = comma + 1;
    }
    offset = end + 1;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const DWORD rowCount = input.Byte() & 3u;
  std::vector<std::string> rows;
  std::vector<std::unique_ptr<char[]>> rowBlocks;
  std::vector<const char*> rowPointers;
  for (DWORD i = 0; i < rowCount; ++i) {
    std::string row = input.Until('\n');
    row = row.substr(0, row.find('\0'));
    rowBlocks.emplace_back(new char[row.size() + 1]);
    memcpy(rowBlocks.back().get(), row.c_str(), row.size() + 1);
    rowPointers.push_back(rowBlocks.back().get());
    rows.push_back(row);
  }
  const std::string list = input.Rest();
  std::unique_ptr<char[]> block(new char[list.size()]);
  if (!list.empty()) memcpy(block.get(), list.data(), list.size());
  const int matched = MatchHardwareIdList(block.get(), static_cast<DWORD>(list.size()),
                                          rowPointers.data(), rowCount);
  FUZZ_CHECK(matched == (ExpectedMatch(list, rows) ? 1 : 0));
  return 0;
}
