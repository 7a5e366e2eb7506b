// Base fixture of host tests: every test starts from a fresh simulated Windows.
#pragma once

#include <gtest/gtest.h>

#include "platform/sim/world.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::ResetWorld(); }
  sim::World& world() { return sim::TheWorld(); }
};
