#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/desktop/Spring.hpp"
#include "platform/desktop/TreeTransition.hpp"
#include "platform/kit/Kit.hpp"
#include "tests/platform/kit/FakeTextSystem.hpp"

namespace zelto::desktop {
namespace {

TEST(SpringCurve, MovesFromStartToRestWithinItsSettlingTime) {
  struct Case {
    kit::SpringAnimation spring;
    bool overshoots;
    double latestSettling;  // seconds
  };
  const Case cases[] = {
      {{0.34, 1, 0}, false, 0.6},     // the week panel's spring: critically damped
      {{0.55, 0.825, 0}, true, 1.0},  // the toolkit's default spring rings a little
      {{0.34, 2, 0}, false, 2.0},     // over-damped creeps in slowly
  };
  for (const auto& c : cases) {
    const SpringCurve curve(c.spring);
    SCOPED_TRACE(c.spring.dampingFraction);
    EXPECT_EQ(curve.progress(0), 0);
    EXPECT_GT(curve.settlingTime(), 0.1);
    EXPECT_LT(curve.settlingTime(), c.latestSettling);
    EXPECT_EQ(curve.progress(curve.settlingTime()), 1);
    double previous = 0;
    double highest = 0;
    bool monotonic = true;
    for (double t = 0; t < curve.settlingTime(); t += 0.004) {
      const double progress = curve.progress(t);
      monotonic = monotonic && progress >= previous - 1e-12;
      previous = progress;
      highest = std::max(highest, progress);
    }
    EXPECT_EQ(monotonic, !c.overshoots);
    EXPECT_EQ(highest > 1.001, c.overshoots);
    // Half a response in, a critically damped spring is well on its way.
    if (c.spring.dampingFraction == 1) {
      EXPECT_NEAR(curve.progress(0.17), 0.821, 0.005);
    }
  }
}

TEST(SpringCurve, ZeroResponseJumpsAtOnce) {
  const SpringCurve curve(kit::SpringAnimation{0, 1, 0});
  EXPECT_EQ(curve.settlingTime(), 0);
  EXPECT_EQ(curve.progress(0.01), 1);
}

// A panel whose bar height depends on the week, animated by week, beside a
// label that is not.
kit::LaidOutTree panel(int week, bool animated) {
  using namespace kit;
  const double height = 10.0 * (week + 1);
  View bar = Rectangle().fill(Color::white()).frame(10, height);
  View chart = VStack({bar, Text::verbatim(std::string(static_cast<std::size_t>(week), 'w'))});
  if (animated) chart = chart.animation(SpringAnimation{0.34, 1, 0}, week);
  View content = HStack(VerticalAlignment::top, 0, {Rectangle().frame(20, height), chart});
  const kit::testing::FakeTextSystem text;
  return layout(content, ProposedSize{200, 200}, Environment{}, text);
}

const kit::LaidOutNode& nodeOfKind(const kit::LaidOutTree& tree, kit::NodeKind kind, int occurrence) {
  for (const auto& node : tree.nodes) {
    if (node.kind == kind && occurrence-- == 0) return node;
  }
  throw std::runtime_error("no such node");
}

TEST(TreeTransition, OnlyViewsInsideAChangedAnimationMove) {
  const auto from = panel(1, true);
  const auto to = panel(3, true);
  ASSERT_TRUE(changedAnimation(from, to).has_value());
  EXPECT_EQ(changedAnimation(from, to)->response, 0.34);
  EXPECT_FALSE(changedAnimation(to, to).has_value());
  EXPECT_FALSE(changedAnimation(panel(1, false), panel(3, false)).has_value());

  const auto halfway = interpolatedTree(from, to, 0.5);
  // The animated bar (second shape) is halfway between 20 and 40 points high.
  EXPECT_DOUBLE_EQ(nodeOfKind(halfway, kit::NodeKind::shape, 1).frame.height, 30);
  // The unanimated one (first shape) is already at its new height.
  EXPECT_DOUBLE_EQ(nodeOfKind(halfway, kit::NodeKind::shape, 0).frame.height, 40);
  // A text moves with it at the size it was laid out at.
  const kit::Rect label = nodeOfKind(halfway, kit::NodeKind::text, 0).frame;
  EXPECT_EQ(label.size(), nodeOfKind(to, kit::NodeKind::text, 0).frame.size());
  EXPECT_DOUBLE_EQ(label.y, (nodeOfKind(from, kit::NodeKind::text, 0).frame.y + nodeOfKind(to, kit::NodeKind::text, 0).frame.y) / 2);
  EXPECT_DOUBLE_EQ(nodeOfKind(interpolatedTree(from, to, 0), kit::NodeKind::shape, 1).frame.height, 20);
  EXPECT_DOUBLE_EQ(nodeOfKind(interpolatedTree(from, to, 1.1), kit::NodeKind::shape, 1).frame.height, 42);
}

// Display lists spelt one letter a command: f and g two different fills,
// L/l a layer, C/c a clip, T/t a transform.
kit::DisplayList commands(const std::string& spelling) {
  kit::DisplayList list;
  for (const char letter : spelling) {
    const std::map<char, kit::DisplayCommand> byLetter{{'f', kit::FillPath{{}, kit::Color::white(), {}}},
                                                       {'g', kit::FillPath{{}, kit::Color::black(), {}}},
                                                       {'L', kit::PushLayer{}},
                                                       {'l', kit::PopLayer{}},
                                                       {'C', kit::PushClip{}},
                                                       {'c', kit::PopClip{}},
                                                       {'T', kit::PushTransform{}},
                                                       {'t', kit::PopTransform{}}};
    list.commands.push_back(byLetter.at(letter));
  }
  return list;
}

TEST(TreeTransition, OnlyTheCommandsThatMoveAreDrawnPerFrameAndTheRestAroundThemOnce) {
  struct Case {
    std::string start, end;
    std::string below, moving, above;  // empty moving: nothing to split
  };
  const Case cases[] = {
      {"fffff", "ffgff", "ff", "g", "ff"},
      {"fffff", "fffff", "", "", ""},
      {"ffff", "fffff", "", "", ""},
      // A layer is never cut; clips and transforms close and open again.
      {"fLfflf", "fLfglf", "f", "Lfgl", "f"},
      {"CfTfftcf", "CfTfgtcf", "CfTftc", "CTgtc", "CTtcf"},
      {"fffCfcf", "fgfCgcf", "f", "gfCgc", "f"},
  };
  const auto spelling = [](const kit::DisplayList& list) {
    std::string letters;
    for (const auto& command : list.commands) {
      const auto& fill = std::get_if<kit::FillPath>(&command);
      letters += fill ? (fill->paint == kit::Paint(kit::Color::white()) ? 'f' : 'g') : "ffffLlTtCc"[command.index()];
    }
    return letters;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start + " -> " + c.end);
    const auto moving = movingCommands(commands(c.start), commands(c.end));
    ASSERT_EQ(moving.has_value(), !c.moving.empty());
    if (!moving) continue;
    const auto parts = splitDisplayList(commands(c.end), *moving);
    EXPECT_EQ(spelling(parts.below) + "|" + spelling(parts.moving) + "|" + spelling(parts.above),
              c.below + "|" + c.moving + "|" + c.above);
  }
}

}  // namespace
}  // namespace zelto::desktop
