// Base of the native tests: every test starts on an empty simulated machine,
// and can check that what the code under test opened, it also let go.
#pragma once

#include <gtest/gtest.h>

#include "platform/standin/machine.h"

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::ResetMachine(); }
};

// Fails the test, naming each kind of resource still held, unless nothing is
// open. COM use is allowed to stay begun by `comInitDepth` levels.
void ExpectNothingOpen(int comInitDepth = 0);
