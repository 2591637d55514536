#include <string>
#include <vector>

#include "tests/unit/device/device_search_fixture.h"

namespace device_test {
namespace {

struct ValueCase {
  const char* title;
  DWORD type;
  std::string data;
  DWORD size;            // offered for the description
  std::string expected;  // what the description then holds
  bool onlyTextWritten;  // false: bytes after the first may hold what the platform left
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.title; }

class DriverValue : public DeviceSearchTest, public ::testing::WithParamInterface<ValueCase> {};

// The description holds the whole value terminated within its size, or the
// empty string, and nothing is written from the offered size on; the product
// name is read either way.
TEST_P(DriverValue, IsWholeAndTerminatedOrEmpty) {
  const ValueCase& c = GetParam();
  Install({"A", Ids(HardwareIdTable[0])}, false);
  sim::SetStringValue(HKEY_LOCAL_MACHINE, DriverKey("A"), "ZrProductName", "Product A");
  sim::SetValue(HKEY_LOCAL_MACHINE, DriverKey("A"), "DriverDesc", c.type,
                std::vector<BYTE>(c.data.begin(), c.data.end()));
  query.descriptionSize = c.size;
  EXPECT_EQ(Search(), 1);
  EXPECT_TRUE(HoldsExactly(productName, sizeof productName, "Product A"));
  if (c.onlyTextWritten) {
    EXPECT_TRUE(HoldsExactly(description, sizeof description, c.expected));
  } else {
    EXPECT_EQ(std::string(description, strnlen(description, c.size)), c.expected)
        << Show(description, sizeof description);
    EXPECT_TRUE(UntouchedFrom(description, sizeof description, c.size));
  }
}

const std::string kLongest(MAX_PATH - 1, 'x');
const std::string kTerminated("Camera A\0", 9);

const ValueCase kValueCases[] = {
    {"Terminated", REG_SZ, kTerminated, MAX_PATH, "Camera A", true},
    {"WithoutTerminator", REG_SZ, "Camera A", MAX_PATH, "Camera A", true},
    {"ExactFit", REG_SZ, kTerminated, 9, "Camera A", true},
    {"ExactFitWithoutTerminator", REG_SZ, "Camera A", 9, "Camera A", true},
    {"FillsBufferWithoutTerminator", REG_SZ, "Camera A", 8, "", false},
    {"OneByteTooLong", REG_SZ, kTerminated, 8, "", false},
    {"LongestThatFits", REG_SZ, kLongest + '\0', MAX_PATH, kLongest, true},
    {"TooLongForTheRunsBuffer", REG_SZ, kLongest + "x" + '\0', MAX_PATH, "", false},
    {"EmptyText", REG_SZ, std::string(1, '\0'), MAX_PATH, "", true},
    {"NoBytes", REG_SZ, "", MAX_PATH, "", true},
    {"NulInside", REG_SZ, std::string("Cam\0era\0", 8), MAX_PATH, "Cam", false},
    {"NulInsideFillingBuffer", REG_SZ, std::string("Cam\0era", 7), 7, "", false},
    {"Binary", REG_BINARY, kTerminated, MAX_PATH, "", false},
    {"ExpandableText", REG_EXPAND_SZ, kTerminated, MAX_PATH, "", false},
    {"MultiString", REG_MULTI_SZ, std::string("Camera A\0\0", 10), MAX_PATH, "", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, DriverValue, ::testing::ValuesIn(kValueCases),
                         [](const ::testing::TestParamInfo<ValueCase>& info) {
                           return std::string(info.param.title);
                         });

struct MissingCase {
  const char* title;
  const char* storedName;
  const char* product;
  const char* description;
};

// A value the key doesn't hold empties only its own output.
TEST_F(DeviceSearchTest, MissingValueEmptiesOnlyItsOutput) {
  const MissingCase cases[] = {
      {"no product name", "DriverDesc", "", "Camera A"},
      {"no description", "ZrProductName", "Product A", ""},
  };
  for (const MissingCase& c : cases) {
    SetUp();
    Install({"A", Ids(HardwareIdTable[0])}, false);
    sim::SetStringValue(HKEY_LOCAL_MACHINE, DriverKey("A"), c.storedName,
                        c.product[0] != '\0' ? c.product : c.description);
    EXPECT_EQ(Search(), 1) << c.title;
    EXPECT_TRUE(HoldsExactly(productName, sizeof productName, c.product)) << c.title;
    EXPECT_TRUE(HoldsExactly(description, sizeof description, c.description)) << c.title;
    ExpectNothingOpen();
  }
}

struct OutputCase {
  const char* title;
  bool productGiven;
  DWORD productSize;
  bool descriptionGiven;
  DWORD descriptionSize;
  const char* product;  // null: the buffer isn't touched at all
  const char* description;
  int reads;
};

::testing::AssertionResult Holds(const char* buffer, const char* text) {
  return text == nullptr ? UntouchedFrom(buffer, MAX_PATH, 0)
                         : HoldsExactly(buffer, MAX_PATH, text);
}

// A null output, or one without room for a terminator, is neither emptied
// nor read; the other output still is.
TEST_F(DeviceSearchTest, OutputsWithoutRoomAreLeftAlone) {
  const OutputCase cases[] = {
      {"null product name", false, MAX_PATH, true, MAX_PATH, nullptr, "Camera A", 1},
      {"null description", true, MAX_PATH, false, MAX_PATH, "Product A", nullptr, 1},
      {"both null", false, MAX_PATH, false, MAX_PATH, nullptr, nullptr, 0},
      {"zero-sized product name", true, 0, true, MAX_PATH, nullptr, "Camera A", 1},
      {"zero-sized description", true, MAX_PATH, true, 0, "Product A", nullptr, 1},
  };
  for (const OutputCase& c : cases) {
    SetUp();
    Install({"A", Ids(HardwareIdTable[0])});
    query.productName = c.productGiven ? productName : nullptr;
    query.productNameSize = c.productSize;
    query.description = c.descriptionGiven ? description : nullptr;
    query.descriptionSize = c.descriptionSize;
    EXPECT_EQ(Search(), 1) << c.title;
    EXPECT_TRUE(Holds(productName, c.product)) << c.title;
    EXPECT_TRUE(Holds(description, c.description)) << c.title;
    EXPECT_EQ(sim::CallCount("RegQueryValueExA"), c.reads) << c.title;
    ExpectNothingOpen();
  }
}

}  // namespace
}  // namespace device_test
