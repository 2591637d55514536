#include "capture/instance_suffix.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kMarker = '\x5A';

// The name buffer with guard bytes on either side, all marked beforehand, so
// that every byte the call writes can be accounted for.
struct GuardedName {
  char before[16];
  char name[MAX_PATH];
  char after[16];
};

struct SuffixCase {
  const char* label;
  std::string description;
  LONG deviceNumber;
  std::string expected;
};

void PrintTo(const SuffixCase& row, std::ostream* out) { *out << row.label; }

std::string Repeated(char c, size_t count) { return std::string(count, c); }

class InstanceSuffixTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(InstanceSuffixTest, ComposesTheNameAndWritesNothingElse) {
  const SuffixCase& c = GetParam();
  GuardedName buffer;
  memset(&buffer, kMarker, sizeof buffer);
  memcpy(buffer.name, c.description.c_str(), c.description.size() + 1);
  GuardedName expected = buffer;
  memcpy(expected.name, c.expected.c_str(), c.expected.size() + 1);

  EXPECT_EQ(AppendInstanceSuffix(buffer.name, c.deviceNumber), 1);

  EXPECT_EQ(std::string(buffer.name), c.expected);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&buffer), sizeof buffer),
            std::string(reinterpret_cast<const char*>(&expected), sizeof expected))
      << "bytes other than the composed name and its terminator changed";
}

INSTANTIATE_TEST_SUITE_P(
    Names, InstanceSuffixTest,
    ::testing::Values(
        SuffixCase{"ZeroLeavesTheName", "Camera #2", 0, "Camera #2"},
        SuffixCase{"OneLeavesTheName", "Camera #2", 1, "Camera #2"},
        SuffixCase{"Two", "Camera", 2, "Camera #2"},
        SuffixCase{"ReplacesAnEarlierSuffix", "Camera #2", 3, "Camera #3"},
        SuffixCase{"TwoDigits", "Camera", 12, "Camera #12"},
        SuffixCase{"CutTakesTheCharacterBeforeTheHash", "Camera#1", 2, "Camer #2"},
        SuffixCase{"FirstHashDecides", "A #1 #2", 2, "A #2"},
        SuffixCase{"HashInFirstPlaceCutsNothing", "#Camera", 2, "#Camera #2"},
        SuffixCase{"HashInFirstPlaceHidesLaterOnes", "#Cam#1", 2, "#Cam#1 #2"},
        SuffixCase{"LoneHash", "#", 2, "# #2"}, SuffixCase{"EmptyName", "", 2, " #2"},
        SuffixCase{"MinusOne", "", -1, " #-1"},
        SuffixCase{"Negative", "Camera", -12, "Camera #-12"},
        SuffixCase{"MostNegative", "Camera", -2147483647 - 1, "Camera #-2147483648"},
        SuffixCase{"MostPositive", "Camera", 2147483647, "Camera #2147483647"},
        SuffixCase{"FullDescriptionGivesWay", Repeated('d', 259), 2, Repeated('d', 256) + " #2"},
        SuffixCase{"FullDescriptionLongestNumber", Repeated('d', 259), -2147483647 - 1,
                   Repeated('d', 246) + " #-2147483648"},
        SuffixCase{"LongDescriptionCutFirst", Repeated('d', 200) + "#" + Repeated('e', 58), 7,
                   Repeated('d', 199) + " #7"},
        SuffixCase{"NoRoomAfterTheCut", Repeated('d', 258) + "#", 10, Repeated('d', 255) + " #10"},
        SuffixCase{"FullDescriptionLeftAloneByOne", Repeated('d', 259), 1, Repeated('d', 259)}),
    [](const ::testing::TestParamInfo<SuffixCase>& info) { return info.param.label; });

// A name that fills the whole buffer without a terminator is taken as its
// first 259 characters; nothing past the buffer is read or written.
TEST(InstanceSuffixUnterminatedTest, StaysInsideTheBuffer) {
  GuardedName buffer;
  memset(&buffer, kMarker, sizeof buffer);
  memset(buffer.name, 'd', sizeof buffer.name);

  EXPECT_EQ(AppendInstanceSuffix(buffer.name, 2), 1);

  EXPECT_EQ(std::string(buffer.name), Repeated('d', 256) + " #2");
  EXPECT_EQ(std::string(buffer.before, sizeof buffer.before), Repeated(kMarker, 16));
  EXPECT_EQ(std::string(buffer.after, sizeof buffer.after), Repeated(kMarker, 16));
}

}  // namespace
