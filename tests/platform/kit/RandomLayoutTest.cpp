// Randomized trees: whatever the composition and the proposal, layout ends
// with finite, non-negative frames, stacks put their children one after the
// other with the gaps between, and the same input gives the same tree.

#include <gtest/gtest.h>

#include <random>

#include "KitTestSupport.hpp"

namespace zelto::kit {
namespace {

using testing::layoutForTest;

class RandomViews {
 public:
  explicit RandomViews(unsigned seed) : random_(seed) {}

  View make(int depth) {
    const int choice = pick(depth <= 0 ? 4 : 11);
    switch (choice) {
      case 0:
        return Text::verbatim(words()).font(Font::system(6 + pick(30)));
      case 1:
        return Rectangle().fill(Color::white());
      case 2:
        return Spacer(pick(3) == 0 ? std::optional<double>() : std::optional<double>(pick(20)));
      case 3:
        return Image(pick(2) == 0 ? "chevron.left" : "unknown.symbol");
      case 4:
        return VStack(horizontal(), spacing(), children(depth));
      case 5:
        return HStack(vertical(), spacing(), children(depth));
      case 6:
        return ZStack(Alignment{horizontal(), vertical()}, children(depth));
      case 7:
        return make(depth - 1).frame(length(), length(), Alignment{horizontal(), vertical()});
      case 8:
        return make(depth - 1).frame(
            FlexibleFrame{.minWidth = length(), .maxWidth = maximum(), .maxHeight = maximum()});
      case 9:
        return make(depth - 1).padding(EdgeInsets{signedLength(), signedLength(), signedLength(), signedLength()});
      default:
        return make(depth - 1)
            .background(Capsule().fill(Color::black()))
            .overlay(make(depth - 2))
            .layoutPriority(pick(3));
    }
  }

 private:
  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  std::string words() {
    static const char* vocabulary[] = {"Weekly", "73%", "RESET", "2 hr, 18 min", "Supercalifragilistic", "", "a b c"};
    std::string text = vocabulary[pick(7)];
    if (pick(2) == 0) text += std::string(" ") + vocabulary[pick(7)];
    return text;
  }
  HorizontalAlignment horizontal() { return static_cast<HorizontalAlignment>(pick(3)); }
  VerticalAlignment vertical() { return static_cast<VerticalAlignment>(pick(5)); }
  std::optional<double> spacing() { return pick(3) == 0 ? std::nullopt : std::optional<double>(pick(12) - 2); }
  std::optional<double> length() { return pick(2) == 0 ? std::nullopt : std::optional<double>(pick(120)); }
  double signedLength() { return pick(20) - 4; }
  std::optional<double> maximum() {
    switch (pick(3)) {
      case 0:
        return std::nullopt;
      case 1:
        return infinity;
      default:
        return pick(200);
    }
  }
  std::vector<View> children(int depth) {
    std::vector<View> result;
    const int count = pick(5);
    for (int i = 0; i < count; ++i) result.push_back(make(depth - 1));
    return result;
  }

  std::mt19937 random_;
};

bool finiteAndNonNegative(const Rect& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height) &&
         r.width >= 0 && r.height >= 0;
}

TEST(RandomLayout, InvariantsHoldForAnyTreeAndProposal) {
  const std::vector<ProposedSize> proposals{{364.0, 382.0}, {0.0, 0.0}, {}, {infinity, 50.0}, {37.0, std::nullopt}};
  for (unsigned seed = 1; seed <= 300; ++seed) {
    RandomViews views(seed);
    const View view = views.make(5);
    const ProposedSize proposal = proposals[seed % proposals.size()];
    const LaidOutTree tree = layoutForTest(view, proposal);
    const DisplayList list = paint(tree);
    const auto elements = accessibilityElements(tree);
    ASSERT_EQ(inspectJson(layoutForTest(view, proposal)), inspectJson(tree))
        << "seed " << seed << ": not deterministic";

    for (const LaidOutNode* node : nodesInOrder(tree)) {
      ASSERT_TRUE(finiteAndNonNegative(node->frame)) << "seed " << seed << " " << node->identity;
      if (node->kind != NodeKind::hstack && node->kind != NodeKind::vstack) continue;
      const auto& stack = *node->as<StackContent>();
      const auto children = tree.children(*node);
      for (std::size_t k = 0; k + 1 < children.size(); ++k) {
        const Rect& a = tree.node(children[k]).frame;
        const Rect& b = tree.node(children[k + 1]).frame;
        const bool nextToSpacer =
            tree.node(children[k]).kind == NodeKind::spacer || tree.node(children[k + 1]).kind == NodeKind::spacer;
        const double gap = stack.spacing ? *stack.spacing : (nextToSpacer ? 0 : 8);
        const double step = node->kind == NodeKind::hstack ? b.x - a.maxX() : b.y - a.maxY();
        ASSERT_NEAR(step, gap, 1e-6) << "seed " << seed << " " << node->identity << " child " << k;
      }
    }
  }
}

}  // namespace
}  // namespace zelto::kit
