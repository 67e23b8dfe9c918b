#include "conversion/direction.h"

#include <gtest/gtest.h>

namespace tervela {
namespace {

using D = TConversionDirection;

TEST(UnitCaptions, FollowTheKindOfEachSide) {
  struct Case {
    D direction;
    std::array<std::string_view, 4> captions;
  };
  const Case cases[] = {
      {D::WgsToA, {"\u00B0N", "\u00B0E", "mN", "mE"}}, {D::WgsToB, {"\u00B0N", "\u00B0E", "mN", "mE"}},
      {D::AToWgs, {"mN", "mE", "\u00B0N", "\u00B0E"}}, {D::BToWgs, {"mN", "mE", "\u00B0N", "\u00B0E"}},
      {D::AToB, {"mN", "mE", "mN", "mE"}},             {D::BToA, {"mN", "mE", "mN", "mE"}},
  };
  for (const Case& c : cases) EXPECT_EQ(UnitCaptions(c.direction), c.captions);
}

TEST(Direction, SystemsReadByEachDirection) {
  EXPECT_EQ(SourceSystem(D::WgsToA), TLocalSystem::A);
  EXPECT_EQ(SourceSystem(D::AToWgs), TLocalSystem::A);
  EXPECT_EQ(SourceSystem(D::WgsToB), TLocalSystem::B);
  EXPECT_EQ(SourceSystem(D::BToWgs), TLocalSystem::B);
  EXPECT_EQ(SourceSystem(D::AToB), TLocalSystem::A);
  EXPECT_EQ(TargetSystem(D::AToB), TLocalSystem::B);
  EXPECT_EQ(SourceSystem(D::BToA), TLocalSystem::B);
  EXPECT_EQ(TargetSystem(D::BToA), TLocalSystem::A);
}

}  // namespace
}  // namespace tervela
