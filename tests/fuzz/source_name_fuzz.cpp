// The capture-source name comparison over any wide names, through the whole
// binding with scripted sources. Input: a byte whose low three bits give the
// number of sources (up to 7) and whose high bits pick the source whose
// converted name becomes the target's name (none past the last source); the
// target's own name otherwise, ended by a newline; then for each source an
// abilities byte (bit 0: name unreadable, bit 1: no property bag, bit 2:
// filter does not bind, bit 3: no property set), a length byte and that many
// UTF-16 characters, little-endian. The first source whose name can be read
// and converted whole, and equals the target's name but for the case of A
// to Z, is the one bound; none other is tried.
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "capture/capture_binding.h"
#include "platform/standin/machine.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// The name in the stand-in's ANSI code page, up to its first NUL; characters
// past U+00FF have no ANSI form there.
std::string AnsiName(const std::wstring& name) {
  std::string converted;
  for (wchar_t c : name) {
    if (c == 0) break;
    converted += c <= 0xFF ? static_cast<char>(c) : '?';
  }
  return converted;
}

bool Compares(const sim::CaptureSource& source) {
  return source.nameReadable && source.bagBinds && AnsiName(source.friendlyName).size() < MAX_PATH;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  const uint8_t layout = input.Byte();
  const size_t sourceCount = layout & 7u;
  const size_t namedAfter = layout >> 3;
  const std::string ownName = input.Until('\n');

  sim::ResetMachine();
  std::vector<sim::CaptureSource> sources;
  for (size_t i = 0; i < sourceCount; ++i) {
    const uint8_t abilities = input.Byte();
    sim::CaptureSource source;
    source.nameReadable = (abilities & 1) == 0;
    source.bagBinds = (abilities & 2) == 0;
    source.filterBinds = (abilities & 4) == 0;
    source.hasPropertySet = (abilities & 8) == 0;
    const size_t length = input.Byte();
    for (size_t c = 0; c < length; ++c) source.friendlyName += static_cast<wchar_t>(input.Word());
    sources.push_back(source);
    sim::AddCaptureSource(source);
  }

  CaptureTarget target;
  memset(&target, 0, sizeof target);
  std::string name = namedAfter < sources.size() ? AnsiName(sources[namedAfter].friendlyName)
                                                 : ownName.substr(0, ownName.find('\0'));
  name.resize(name.size() < MAX_PATH ? name.size() : MAX_PATH - 1);
  memcpy(target.friendlyName, name.c_str(), name.size() + 1);

  int match = -1;
  for (size_t i = 0; match < 0 && i < sources.size(); ++i) {
    if (Compares(sources[i]) &&
        fuzz::FoldAscii(AnsiName(sources[i].friendlyName)) == fuzz::FoldAscii(name)) {
      match = static_cast<int>(i);
    }
  }
  const bool bound = match >= 0 && sources[static_cast<size_t>(match)].filterBinds;
  const bool complete = bound && sources[static_cast<size_t>(match)].hasPropertySet;

  FUZZ_CHECK(BindCaptureFilter(&target) == (complete ? 1 : 0));
  FUZZ_CHECK(sim::BoundSources() == (bound ? std::vector<int>{match} : std::vector<int>{}));
  FUZZ_CHECK((target.filter != nullptr) == bound);
  FUZZ_CHECK((target.propertySet != nullptr) == complete);
  FUZZ_CHECK(memcmp(target.friendlyName, name.c_str(), name.size() + 1) == 0);

  FUZZ_CHECK(ReleaseCaptureTarget(&target) == 1);
  const sim::OpenResources open = sim::Open();
  FUZZ_CHECK(open.comObjects == 0 && open.bstrs == 0 && open.comInitDepth == 0);
  return 0;
}
