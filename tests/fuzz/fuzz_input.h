// What every fuzz target shares: a reader that takes the fuzzer's bytes
// field by field (zeros once they run out), and a check that stops the run
// with the failed condition, so the fuzzer keeps the input that broke it.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : fuzz::FailCheck(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void FailCheck(const char* condition, const char* file, int line) {
  fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  abort();
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }

  // Little-endian, as the seeds are written.
  uint16_t Word() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }

  uint32_t Dword() {
    const uint32_t low = Word();
    return low | (static_cast<uint32_t>(Word()) << 16);
  }

  // Up to `count` bytes, fewer when the input ends first.
  std::string Bytes(size_t count) {
    const size_t taken = count < size_ - used_ ? count : size_ - used_;
    std::string bytes(reinterpret_cast<const char*>(data_ + used_), taken);
    used_ += taken;
    return bytes;
  }

  // The bytes up to the next `end` byte, which is consumed but not returned.
  std::string Until(char end) {
    std::string bytes;
    while (used_ < size_ && data_[used_] != static_cast<uint8_t>(end)) {
      bytes += static_cast<char>(data_[used_++]);
    }
    if (used_ < size_) ++used_;
    return bytes;
  }

  std::string Rest() { return Bytes(size_ - used_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

// Lower case of A to Z only, as the platform's comparisons fold them.
inline std::string FoldAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace fuzz
