#pragma once

#include <boost/container/small_vector.hpp>
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
  struct CacheEntry {
    ProposedSize proposal;
    Measured measured;
  };
  struct TextCacheEntry {
    std::optional<double> width;
    std::optional<double> height;
    TextMeasurement measurement;
  };

  Measured computeMeasure(NodeIndex index, ProposedSize proposal);
  ContainerPlan plan(NodeIndex index, ProposedSize proposal);
  const TextMeasurement& measureText(NodeIndex index, ProposedSize proposal);
  const SymbolMeasurement& measureSymbol(NodeIndex index);
  const std::string& resolvedFamily(const Font& font);
  void ensureCaches();
  Rect extendedIntoUnsafeArea(const Rect& frame, Edges edges) const;

  LaidOutTree& tree_;
  ViewBuilder& builder_;
  const TextSystem& textSystem_;
  // Most nodes see one to three proposals in a pass: kept inline, no allocation.
  std::vector<boost::container::small_vector<CacheEntry, 3>> caches_;
  std::vector<std::vector<TextCacheEntry>> textCaches_;
  std::vector<std::optional<SymbolMeasurement>> symbols_;
  std::vector<std::pair<Font, std::string>> families_;
};

}  // namespace zelto::kit::detail
