#include "beam/Beam.h"

#include <gtest/gtest.h>

namespace {

TEST(BeamTest, CommandTextUsesShortGeneralNumbers) {
  Beam b;
  EXPECT_EQ(b.GetString(), "");

  b.Setup(-14.5, 0.0, 0.0);
  EXPECT_EQ(b.GetString(), "(beam -14.5 0 0)");

  b.Setup(-0.1522820323027551, -0.09956406460551018, 20.0);
  EXPECT_EQ(b.GetString(), "(beam -0.152282 -0.0995641 20)");
  // The numbers themselves keep full precision.
  EXPECT_EQ(b.GetX(), -0.1522820323027551);
  EXPECT_EQ(b.GetY(), -0.09956406460551018);
  EXPECT_EQ(b.GetRotation(), 20.0);

  // A later Setup replaces the text rather than appending to it.
  b.Setup(-0.1, 5.85, -90.0);
  EXPECT_EQ(b.GetString(), "(beam -0.1 5.85 -90)");
  b.Setup(1234567.0, 1e-7, -1e300);
  EXPECT_EQ(b.GetString(), "(beam 1.23457e+06 1e-07 -1e+300)");
}

}  // namespace
