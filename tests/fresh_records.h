// fresh_records.h: the one fixture that puts the run's records back to their start-of-run
// state before each test (RESET_RECORDS, reset_records.h).
//
//   using SurfaceFont = testing_support::fresh_records;
//   TEST_F(SurfaceFont, ...) { ... }                 // or derive a fixture of its own from it
#pragma once

#include <gtest/gtest.h>

#include "reset_records.h"

namespace orvex::testing_support {

class fresh_records : public ::testing::Test {
protected:
    void SetUp() override { RESET_RECORDS(); }
};

}  // namespace orvex::testing_support
