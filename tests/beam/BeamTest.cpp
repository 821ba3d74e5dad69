#include "beam/Beam.h"

#include <gtest/gtest.h>

namespace {

TEST(BeamTest, CommandTextUsesShortGeneralNumbers) {
  Beam b;
  EXPECT_EQ(b.GetString(), "");
  b.Setup(-14.5, 0.0, 0.0);
  EXPECT_EQ(b.GetString(), "(beam -14.5 0 0)");
  // A later Setup replaces the text; the numbers keep full precision.
  b.Setup(-0.1522820323027551, -0.09956406460551018, 20.0);
  EXPECT_EQ(b.GetString(), "(beam -0.152282 -0.0995641 20)");
  EXPECT_EQ(b.GetX(), -0.1522820323027551);
  b.Setup(1234567.0, 1e-7, -1e300);
  EXPECT_EQ(b.GetString(), "(beam 1.23457e+06 1e-07 -1e+300)");
}

}  // namespace
