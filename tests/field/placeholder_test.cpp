#include <gtest/gtest.h>
#include "field_grid.h"
TEST(FieldGrid, StartsEmpty) { EXPECT_EQ(orvex::field_grid.nx, 0); }
