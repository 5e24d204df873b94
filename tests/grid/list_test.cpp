#include <gtest/gtest.h>
#include "grid/list.hpp"
TEST(Smoke, Builds) { EXPECT_EQ(corvan::numberof_point(corvan::newhead_point()), 0); }
