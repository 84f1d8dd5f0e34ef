#include "platform/kit/Path.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelto::kit {
namespace {

constexpr double tolerance = 1e-6;

void expectPoint(Point actual, Point expected, const char* what) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
}

Point endOf(const Path::Element& element) {
  if (const auto* move = std::get_if<Path::MoveTo>(&element)) return move->to;
  if (const auto* line = std::get_if<Path::LineTo>(&element)) return line->to;
  if (const auto* curve = std::get_if<Path::CurveTo>(&element)) return curve->to;
  return {NAN, NAN};
}

Point bezierPoint(Point p0, const Path::CurveTo& c, double t) {
  const double u = 1 - t;
  return {u * u * u * p0.x + 3 * u * u * t * c.control1.x + 3 * u * t * t * c.control2.x + t * t * t * c.to.x,
          u * u * u * p0.y + 3 * u * u * t * c.control1.y + 3 * u * t * t * c.control2.y + t * t * t * c.to.y};
}

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The top-right corner of a 200 x 100 rectangle with radius 10, element by
// element: per unit of radius, measured from the vertex (200, 0) back along
// the top edge and down the right edge.
TEST(ContinuousRoundedRectangle, CornerFollowsTheSmoothCornerPointsExactly) {
  const Path path = Path::continuousRoundedRectangle({0, 0, 200, 100}, 10);
  const auto& e = path.elements();
  ASSERT_EQ(e.size(), 1u + 4 * 6 + 1);  // move, four corners of six pieces, close

  expectPoint(std::get<Path::MoveTo>(e[0]).to, {15.2866, 0}, "start on the top edge");
  expectPoint(std::get<Path::LineTo>(e[1]).to, {200 - 15.2866, 0}, "curve starts 1.52866 r from the vertex");
  const auto& first = std::get<Path::CurveTo>(e[2]);
  expectPoint(first.control1, {200 - 10.8849, 0}, "first curve, control 1");
  expectPoint(first.control2, {200 - 8.6841, 0}, "first curve, control 2");
  expectPoint(first.to, {200 - 6.6993, 0.6550}, "first curve end");
  expectPoint(std::get<Path::LineTo>(e[3]).to, {200 - 6.3149, 0.7491}, "short line");
  const auto& middle = std::get<Path::CurveTo>(e[4]);
  expectPoint(middle.control1, {200 - 3.7282, 1.6906}, "middle curve, control 1");
  expectPoint(middle.control2, {200 - 1.6906, 3.7282}, "middle curve, control 2");
  expectPoint(middle.to, {200 - 0.7491, 6.3149}, "middle curve end");
  expectPoint(std::get<Path::LineTo>(e[5]).to, {200 - 0.6550, 6.6993}, "mirrored short line");
  const auto& last = std::get<Path::CurveTo>(e[6]);
  expectPoint(last.control1, {200, 8.6841}, "mirrored curve, control 1");
  expectPoint(last.control2, {200, 10.8849}, "mirrored curve, control 2");
  expectPoint(last.to, {200, 15.2866}, "corner ends 1.52866 r down the right edge");
  expectPoint(std::get<Path::LineTo>(e[7]).to, {200, 100 - 15.2866}, "straight right edge");
  EXPECT_TRUE(std::holds_alternative<Path::Close>(e.back()));
}

TEST(ContinuousRoundedRectangle, EveryCornerIsTheSameShapeTurnedClockwise) {
  const Rect r{10, 20, 120, 80};
  const Path path = Path::continuousRoundedRectangle(r, 12);
  const auto& e = path.elements();
  const double start = 1.52866 * 12;
  // Corner k ends where the next edge begins: right, bottom, left, top.
  expectPoint(endOf(e[6]), {r.maxX(), r.minY() + start}, "top-right end");
  expectPoint(endOf(e[12]), {r.maxX() - start, r.maxY()}, "bottom-right end");
  expectPoint(endOf(e[18]), {r.minX(), r.maxY() - start}, "bottom-left end");
  expectPoint(endOf(e[24]), {r.minX() + start, r.minY()}, "top-left end meets the start");
  expectPoint(endOf(e[24]), endOf(e[0]), "closed outline");
}

TEST(ContinuousRoundedRectangle, RadiusIsLimitedWhereTheSideIsTooShort) {
  // 1.52866 x 8 exceeds half of the 20 pt side: the radius becomes 10 / 1.52866.
  const Path path = Path::continuousRoundedRectangle({0, 0, 40, 20}, 8);
  const auto& e = path.elements();
  expectPoint(std::get<Path::LineTo>(e[1]).to, {30, 0}, "curve starts half the short side from the vertex");
  expectPoint(endOf(e[6]), {40, 10}, "and ends at the middle of the short side");
  const double limited = 10 / 1.52866;
  expectPoint(std::get<Path::CurveTo>(e[4]).to, {40 - 0.07491 * limited, 0.63149 * limited}, "scaled middle piece");
}

TEST(ContinuousRoundedRectangle, ZeroRadiusIsARectangleAndHalfTheSideIsACapsule) {
  const Rect r{0, 0, 60, 20};
  EXPECT_EQ(Path::continuousRoundedRectangle(r, 0), Path::rectangle(r));
  EXPECT_EQ(Path::continuousRoundedRectangle(r, 10), Path::capsule(r));
  EXPECT_EQ(Path::continuousRoundedRectangle(r, 50), Path::capsule(r));
}

// The largest distance of the path's curves, sampled, from the circle of
// `radius` around the centre that `centreOf` gives for each curve's end.
double largestCurveError(const Path& path, double radius, Point (*centreOf)(Point)) {
  double largest = 0;
  Point current{};
  for (const Path::Element& element : path.elements()) {
    if (const auto* curve = std::get_if<Path::CurveTo>(&element)) {
      for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        largest = std::max(largest, std::abs(distance(bezierPoint(current, *curve, t), centreOf(curve->to)) - radius));
      }
    }
    if (!std::holds_alternative<Path::Close>(element)) current = endOf(element);
  }
  return largest;
}

TEST(Circle, StartsAtThreeOClockAndRunsClockwiseOnScreenAndCapsuleEndsAreSemicircles) {
  const Path path = Path::circle({0, 0, 100, 50});  // largest centred square: radius 25 around (50, 25)
  const auto& e = path.elements();
  ASSERT_EQ(e.size(), 6u);
  expectPoint(std::get<Path::MoveTo>(e[0]).to, {75, 25}, "3 o'clock");
  expectPoint(endOf(e[1]), {50, 50}, "then 6 o'clock (y points down)");
  expectPoint(endOf(e[3]), {50, 0}, "12 o'clock");
  EXPECT_LT(largestCurveError(path, 25, [](Point) { return Point{50, 25}; }), 0.01);
  const Path capsule = Path::capsule({0, 0, 100, 20});
  expectPoint(std::get<Path::MoveTo>(capsule.elements()[0]).to, {10, 0}, "where the left end meets the top edge");
  EXPECT_LT(largestCurveError(capsule, 10, [](Point end) { return end.x > 50 ? Point{90, 10} : Point{10, 10}; }), 0.01);
}

struct TrimCase {
  double from;
  double to;
  Point start;
  Point end;
  std::size_t pieces;
};

class CircleArcTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(CircleArcTrim, KeepsTheFractionOfTheCirclePath) {
  const TrimCase& c = GetParam();
  const Path arc = Path::circleArc({0, 0, 100, 100}, c.from, c.to);
  const auto& e = arc.elements();
  ASSERT_EQ(e.size(), 1 + c.pieces);
  expectPoint(std::get<Path::MoveTo>(e[0]).to, c.start, "start");
  expectPoint(endOf(e.back()), c.end, "end");
  EXPECT_FALSE(std::holds_alternative<Path::Close>(e.back())) << "a trimmed outline stays open";
}

INSTANTIATE_TEST_SUITE_P(Fractions, CircleArcTrim,
                         ::testing::Values(TrimCase{0, 0.25, {100, 50}, {50, 100}, 1},
                                           TrimCase{0,
                                                    0.62,
                                                    {100, 50},
                                                    {50 + 50 * std::cos(0.62 * 2 * std::numbers::pi),
                                                     50 + 50 * std::sin(0.62 * 2 * std::numbers::pi)},
                                                    3},
                                           TrimCase{-1, 2, {100, 50}, {100, 50}, 4}));

TEST(CircleArc, FullTrimTracesTheCircleAndNothingIsLeftWhenTheEndIsNotPastTheStart) {
  const Rect r{5, 5, 40, 40};
  const Path closed = Path::circle(r);
  const Path full = Path::circleArc(r, 0, 1);
  ASSERT_EQ(full.elements().size() + 1, closed.elements().size());
  for (std::size_t i = 0; i < full.elements().size(); ++i) {
    expectPoint(endOf(full.elements()[i]), endOf(closed.elements()[i]), "same points");
  }
  EXPECT_TRUE(Path::circleArc(r, 0, 0).empty());
  EXPECT_TRUE(Path::circleArc(r, 0.5, 0.2).empty());
  EXPECT_TRUE(Path::circleArc(r, NAN, 1).empty());
}

TEST(Path, UnusableRectanglesGiveEmptyPaths) {
  EXPECT_TRUE(Path::rectangle({0, 0, -1, 5}).empty());
  EXPECT_TRUE(Path::continuousRoundedRectangle({0, 0, INFINITY, 5}, 2).empty());
  EXPECT_TRUE(Path::circle({NAN, 0, 5, 5}).empty());
}

}  // namespace
}  // namespace zelto::kit
