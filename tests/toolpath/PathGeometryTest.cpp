#include <gtest/gtest.h>

#include "PathGeometry.h"

TEST(PathGeometryTest, Placeholder) { EXPECT_EQ(qm::ChordsFor(1, 1, 1), 1u); }
