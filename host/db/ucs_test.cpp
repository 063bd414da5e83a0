// User coordinate systems: conversions both ways, turning about Z, three-point systems, the
// arbitrary axis rule of entity coordinate systems, and the drawing's current and earlier systems.
#include "db/ucs.h"

#include <cmath>
#include <numbers>

#include "test_support.h"

namespace host::test {
namespace {

void expectNear(const Point& a, const Point& b) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 1e-9) << "coordinate " << i;
}

TEST(Ucs, ConvertsPointsAndDisplacements) {
  Ucs ucs = rotatedAboutZ(Ucs{{100, 50, 0}}, std::numbers::pi / 2);
  expectNear(ucs.xAxis, {0, 1, 0});
  expectNear(ucs.yAxis, {-1, 0, 0});
  expectNear(ucsToWorld(ucs, {10, 0, 3}), {100, 60, 3});
  expectNear(ucsToWorld(ucs, {10, 0, 3}, true), {0, 10, 3});  // no origin for a displacement
  expectNear(worldToUcs(ucs, {100, 60, 3}), {10, 0, 3});
  expectNear(worldToUcs(ucs, ucsToWorld(ucs, {-7.5, 2.25, 1})), {-7.5, 2.25, 1});
}

TEST(Ucs, ThroughThreePoints) {
  auto ucs = ucsThrough({1, 1, 0}, {1, 5, 0}, {-3, 2, 0});
  ASSERT_TRUE(ucs);
  expectNear(ucs->xAxis, {0, 1, 0});
  expectNear(ucs->yAxis, {-1, 0, 0});
  EXPECT_FALSE(ucsThrough({1, 1, 0}, {1, 1, 0}, {2, 2, 0}));  // no X direction
  EXPECT_FALSE(ucsThrough({0, 0, 0}, {1, 0, 0}, {5, 0, 0}));  // no plane
}

TEST(Ucs, ObjectCoordinateSystemsFollowTheArbitraryAxisRule) {
  auto world = objectCoordinateSystem({0, 0, 2});
  ASSERT_TRUE(world);
  EXPECT_EQ(*world, Ucs{});
  auto flipped = objectCoordinateSystem({0, 0, -1});  // a mirrored arc
  expectNear(flipped->xAxis, {-1, 0, 0});
  expectNear(flipped->yAxis, {0, 1, 0});
  auto side = objectCoordinateSystem({1, 0, 0});
  expectNear(side->xAxis, {0, 1, 0});
  expectNear(side->yAxis, {0, 0, 1});
  EXPECT_FALSE(objectCoordinateSystem({0, 0, 0}));
}

class DrawingUcsTest : public DrawingTest {};

TEST_F(DrawingUcsTest, TheCurrentSystemLivesInTheVariablesAndPreviousStepsBack) {
  EXPECT_EQ(currentUcs(db.vars()), Ucs{});
  Ucs moved{{5, 5, 0}};
  setCurrentUcs(db, moved);
  setCurrentUcs(db, rotatedAboutZ(moved, 1.0));
  EXPECT_EQ(db.vars().getInt(L"WORLDUCS"), 0);
  Value org;
  db.vars().get(L"UCSORG", org);
  EXPECT_EQ(std::get<Point>(org), (Point{5, 5, 0}));
  EXPECT_NEAR(std::get<Point>([&] { Value v; db.vars().get(L"UCSXDIR", v); return v; }())[1], std::sin(1.0), 1e-12);
  ASSERT_TRUE(restorePreviousUcs(db));
  EXPECT_EQ(currentUcs(db.vars()), moved);
  ASSERT_TRUE(restorePreviousUcs(db));
  EXPECT_EQ(currentUcs(db.vars()), Ucs{});
  EXPECT_EQ(db.vars().getInt(L"WORLDUCS"), 1);
  EXPECT_FALSE(restorePreviousUcs(db));
  EXPECT_EQ(db.vars().set(L"UCSORG", Point{1, 1, 0}), RTERROR);  // read-only for scripts
}

TEST_F(DrawingUcsTest, OnlyTheLastTenSystemsAreRemembered) {
  for (int i = 1; i <= 12; ++i) setCurrentUcs(db, Ucs{{double(i), 0, 0}});
  int steps = 0;
  while (restorePreviousUcs(db)) ++steps;
  EXPECT_EQ(steps, 10);
  EXPECT_EQ(currentUcs(db.vars()).origin, (Point{2, 0, 0}));
}

}  // namespace
}  // namespace host::test
