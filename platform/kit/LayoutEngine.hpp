#pragma once

#include <boost/container/small_vector.hpp>
#include <limits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/kit/FrameLayout.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/ProposedSize.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/kit/ViewBuilder.hpp"

namespace zelto::kit::detail {

// Where a container puts one child: what it proposes and where the child's
// top-leading corner goes, relative to the container's.
struct ChildPlacement {
  NodeIndex child = noNode;
  ProposedSize proposal;
  Point offset;
};

// A container's answer to one proposal, with the placements that go with it.
struct ContainerPlan {
  Measured measured;
  boost::container::small_vector<ChildPlacement, 4> children;
};

// Whether a container plan is wanted for its size alone (while measuring) or
// also for the placements of its children (while placing).
enum class PlanUse { measuring, placing };

// One layout pass over a built tree. Every view answers each proposal the
// same way, so answers are cached per node and proposal for the whole pass;
// text measurements, the hottest path, are cached per node and size too.
class LayoutEngine {
 public:
  LayoutEngine(LaidOutTree& tree, ViewBuilder& builder, const TextSystem& textSystem);

  // The size (and baselines) node `index` takes for `proposal`.
  Measured measure(NodeIndex index, ProposedSize proposal);

  // Sizes node `index` for `proposal`, puts its top-leading corner at
  // `origin`, and places its subtree. `opacity` is the product of the
  // opacities above it.
  void place(NodeIndex index, ProposedSize proposal, Point origin, double opacity);

  LaidOutTree& tree() { return tree_; }

 private:
  // A sanitized proposal as two bit patterns (an unspecified dimension as a
  // pattern no length has), so that a cache probe compares two integers.
  struct ProposalKey {
    std::uint64_t width;
    std::uint64_t height;
    bool operator==(const ProposalKey&) const = default;
  };
  static constexpr std::uint32_t noEntry = std::numeric_limits<std::uint32_t>::max();
  // Answers of one node, newest first: each entry links to the node's previous one.
  struct CacheEntry {
    ProposalKey key;
    Measured measured;
    std::uint32_t next;
  };
  // A text's answer names its measurement, which several proposals may share.
  struct TextCacheEntry {
    ProposalKey key;
    std::uint32_t measurement;
    std::uint32_t next;
  };

  static ProposalKey keyOf(ProposedSize proposal);
  Measured computeMeasure(NodeIndex index, ProposedSize proposal);
  ContainerPlan plan(NodeIndex index, ProposedSize proposal, PlanUse use);
  // The plan of a node with one content (and a secondary layer at most).
  ContainerPlan planWrapper(NodeIndex index, ProposedSize proposal);
  const TextMeasurement& measureText(NodeIndex index, ProposedSize proposal);
  std::uint32_t textMeasurementIndex(NodeIndex index, ProposedSize proposal);
  const SymbolMeasurement& measureSymbol(NodeIndex index);
  const std::string& resolvedFamily(const Font& font);
  void ensureCaches();
  Rect extendedIntoUnsafeArea(const Rect& frame, Edges edges) const;

  LaidOutTree& tree_;
  ViewBuilder& builder_;
  const TextSystem& textSystem_;
  // All answers of the pass in two arrays, chained per node: no allocation per
  // node or per answer.
  std::vector<std::uint32_t> firstEntry_;
  std::vector<CacheEntry> entries_;
  std::vector<std::uint32_t> firstTextEntry_;
  std::vector<TextCacheEntry> textEntries_;
  std::vector<TextMeasurement> textMeasurements_;
  std::vector<std::optional<SymbolMeasurement>> symbols_;
  std::vector<std::pair<Font, std::string>> families_;
};

}  // namespace zelto::kit::detail
