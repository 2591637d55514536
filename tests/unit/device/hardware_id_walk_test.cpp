#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/hardware_id_list.h"
#include "device/hardware_id_table.h"
#include "platform/standin/machine.h"

namespace {

const char* const kTable[] = {HardwareIdTable[0], HardwareIdTable[1]};

std::vector<BYTE> Raw(const std::string& bytes) {
  return std::vector<BYTE>(bytes.begin(), bytes.end());
}

// `size` bytes: an entry "<row>" that ends on the last byte, after filler
// entries; `terminated` says whether that last byte is the row's NUL.
std::vector<BYTE> FullBuffer(const char* row, size_t size, bool terminated) {
  const std::string tail = std::string(row) + (terminated ? std::string(1, '\0') : "");
  std::string filler(size - tail.size(), 'X');
  for (size_t i = 9; i < filler.size(); i += 10) filler[i] = '\0';
  filler.back() = '\0';
  return Raw(filler + tail);
}

struct WalkCase {
  const char* title;
  std::vector<BYTE> list;
  DWORD rowCount;
  int matches;
};

// The list is copied into a heap block of exactly its size, so that the
// sanitizer sees any read past it.
int Walk(const WalkCase& c) {
  std::unique_ptr<char[]> block(new char[c.list.size()]);
  std::copy(c.list.begin(), c.list.end(), block.get());
  return MatchHardwareIdList(block.get(), static_cast<DWORD>(c.list.size()), kTable, c.rowCount);
}

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.title; }

class HardwareIdWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(HardwareIdWalk, MatchesOnlyWholeIdsOfTheTable) {
  EXPECT_EQ(Walk(GetParam()), GetParam().matches) << GetParam().title;
}

const WalkCase kWalkCases[] = {
    {"Row1", sim::MultiString({"USB\\VID_5E3A&PID_2170"}), 2, 1},
    {"Row2AfterOtherIds", sim::MultiString({"USB\\VID_1234&PID_0001", "USB\\VID_5E3A&PID_2171"}), 2,
     1},
    {"LowerCase", sim::MultiString({"usb\\vid_5e3a&pid_2171"}), 2, 1},
    {"MixedCase", sim::MultiString({"Usb\\Vid_5e3A&piD_2170"}), 2, 1},
    {"RevisionSuffixAlone", sim::MultiString({"USB\\VID_5E3A&PID_2171&REV_0100"}), 2, 0},
    {"RevisionSuffixThenShortEntry",
     sim::MultiString({"USB\\VID_5E3A&PID_2171&REV_0100", "USB\\VID_5E3A&PID_2171"}), 2, 1},
    {"ShorterThanRow", sim::MultiString({"USB\\VID_5E3A&PID_217"}), 2, 0},
    {"BackslashIsNotBar", sim::MultiString({"USB|VID_5E3A&PID_2170"}), 2, 0},
    {"UnderscoreIsNotDelete",
     sim::MultiString({"USB\\VID\x7f"
                       "5E3A&PID_2170"}),
     2, 0},
    {"TrailingBlank", sim::MultiString({"USB\\VID_5E3A&PID_2170 "}), 2, 0},
    {"SecondPieceOfEntry", sim::MultiString({"USB\\VID_1234&PID_0001,USB\\VID_5E3A&PID_2170"}), 2,
     1},
    {"PieceBetweenCommas", sim::MultiString({",,USB\\VID_5E3A&PID_2171,"}), 2, 1},
    {"FirstPieceOfEntry", sim::MultiString({"USB\\VID_5E3A&PID_2170,X"}), 2, 1},
    {"CommasOnlyThenRow", sim::MultiString({",,", "USB\\VID_5E3A&PID_2170"}), 2, 1},
    {"CommasOnly", sim::MultiString({",", ",,,"}), 2, 0},
    {"EmptyList", sim::MultiString({}), 2, 0},
    {"NothingAfterClosingEntry",
     Raw(std::string("X\0\0", 3) + HardwareIdTable[0] + std::string(2, '\0')), 2, 0},
    {"EmptyTable", sim::MultiString({"USB\\VID_5E3A&PID_2170"}), 0, 0},
    {"OnlyTheRowsCounted", sim::MultiString({"USB\\VID_5E3A&PID_2171"}), 1, 0},
    {"NoClosingEntryLastIdTerminated", FullBuffer(HardwareIdTable[1], 260, true), 2, 1},
    {"NoClosingEntryLastIdCutOff", FullBuffer(HardwareIdTable[1], 260, false), 2, 0},
    {"OneUnterminatedEntry", Raw(std::string(260, 'U')), 2, 0},
    {"NoBytes", {}, 2, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, HardwareIdWalk, ::testing::ValuesIn(kWalkCases),
                         [](const ::testing::TestParamInfo<WalkCase>& info) {
                           return std::string(info.param.title);
                         });

// An empty piece names no ID, so not even an empty row can equal it.
TEST(HardwareIdWalkEmptyPieces, AreNeverCompared) {
  const char* const table[] = {"", HardwareIdTable[0]};
  for (const char* entry : {",", ",,,", "X,,Y", ",X,"}) {
    const std::vector<BYTE> list = sim::MultiString({entry});
    EXPECT_EQ(MatchHardwareIdList(reinterpret_cast<const char*>(list.data()),
                                  static_cast<DWORD>(list.size()), table, 2),
              0)
        << "entry \"" << entry << "\"";
  }
}

}  // namespace
