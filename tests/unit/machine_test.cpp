#include "machine_test.h"

void MachineTest::TearDown() {
  for (const std::string& fault : sim::TakeUnfiredFaults()) {
    ADD_FAILURE() << "the injected fault " << fault << " never fired";
  }
}

void MachineTest::InjectFault(const std::string& operation, int nthCall, sim::Fault fault,
                              sim::Firing firing) {
  const std::string refused = sim::InjectFault(operation, nthCall, fault, firing);
  if (!refused.empty()) ADD_FAILURE() << "cannot inject the fault: " << refused;
}

void ExpectNothingOpen(int comInitDepth) {
  const sim::OpenResources open = sim::Open();
  EXPECT_EQ(open.registryKeys, 0) << "registry keys left open";
  EXPECT_EQ(open.deviceLists, 0) << "device lists not destroyed";
  EXPECT_EQ(open.heapBlocks, 0) << "heap blocks not freed";
  EXPECT_EQ(open.comObjects, 0) << "COM objects with references left";
  EXPECT_EQ(open.bstrs, 0) << "strings not freed";
  EXPECT_EQ(open.comInitDepth, comInitDepth) << "COM use not balanced";
  EXPECT_EQ(open.handles, 0) << "handles not closed";
  EXPECT_EQ(open.libraries, 0) << "libraries not freed";
}

int RegionCallCount() {
  int count = 0;
  for (const char* operation : {"GetTimeZoneInformation", "LoadLibraryA", "GetProcAddress",
                                "GetUserGeoID", "GetGeoInfoA"}) {
    count += sim::CallCount(operation);
  }
  return count;
}
