// Base of the native tests: every test starts on an empty simulated machine,
// and can check that what the code under test opened, it also let go.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/standin/machine.h"

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::ResetMachine(); }
  // A fault injected for the test that never fired fails it.
  void TearDown() override;

  // sim::InjectFault, failing the test where the fault cannot be injected.
  static void InjectFault(const std::string& operation, int nthCall,
                          sim::Fault fault = sim::Fault::kFail,
                          sim::Firing firing = sim::Firing::kMustFire);
};

// Fails the test, naming each kind of resource still held, unless nothing is
// open. COM use is allowed to stay begun by `comInitDepth` levels.
void ExpectNothingOpen(int comInitDepth = 0);

// Calls made so far of what the region rule asks: the time zone, and the
// library and the functions that give the country.
int RegionCallCount();
