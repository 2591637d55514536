// The process heap (kernel32): every block is accounted for, so a test can
// tell a freed block from a leaked one, and any allocation can be made to fail.
#include <stdlib.h>
#include <string.h>

#include "state.h"

using sim::Fault;
using sim::detail::TheMachine;

namespace {

int processHeap;
const HANDLE kProcessHeap = &processHeap;

}  // namespace

HANDLE WINAPI GetProcessHeap() {
  sim::EnterOperation("GetProcessHeap");
  return kProcessHeap;
}

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
  if (sim::EnterOperation("HeapAlloc") != Fault::kNone || hHeap != kProcessHeap) return nullptr;
  void* block = malloc(dwBytes == 0 ? 1 : dwBytes);
  if (block == nullptr) return nullptr;
  // A block that is not asked to be zeroed holds a marker, as stale heap
  // memory would, so code that relies on zeros without asking is caught.
  memset(block, (dwFlags & HEAP_ZERO_MEMORY) != 0 ? 0 : 0xCD, dwBytes);
  TheMachine().heapBlocks.insert(block);
  return block;
}

// A free that is made to fail still counts the block as given back: the
// program did its part and has no second chance to free it.
BOOL WINAPI HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem) {
  (void)dwFlags;
  const Fault fault = sim::EnterOperation("HeapFree");
  if (hHeap != kProcessHeap) return FALSE;
  if (lpMem != nullptr) {
    if (TheMachine().heapBlocks.erase(lpMem) == 0) abort();  // not a block of this heap
    free(lpMem);
  }
  return fault == Fault::kFail ? FALSE : TRUE;
}
