#pragma once

#include <boost/container/small_vector.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kit/Environment.hpp"
#include "platform/kit/LaidOutTree.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit::detail {

struct ModifiedNode;

// The nodes a view turns into: usually one, several for groups and lists.
using NodeList = boost::container::small_vector<NodeIndex, 8>;

// The build phase: evaluates components' bodies in their environment,
// resolves texts and styles, and appends one node per primitive or layout
// modifier to the tree (frames are left for layout). Environment modifiers
// leave no node of their own; accessibility, priority, animation and hidden
// become attributes of the node they modify.
class ViewBuilder {
 public:
  explicit ViewBuilder(LaidOutTree& tree) : tree_(tree) {}

  // Builds `view` and appends the indices of the nodes it turns into (none
  // for an empty view, several for a group or a list) to `out`. `prefix` is
  // the identity path of the position it stands at.
  void build(const View& view, const Environment& environment, const std::string& prefix, bool inHorizontalStack,
             NodeList& out);

  // Builds `view` into exactly one node, wrapping several in a vertical stack
  // (the toolkit's arrangement for several views where one is expected);
  // noNode for an empty view.
  NodeIndex buildSingle(const View& view, const Environment& environment, const std::string& prefix);

  // Builds a geometry reader's content for the size layout gave it.
  NodeIndex buildReaderContent(const GeometryReaderContent& reader, Size size);

  NodeIndex addNode(NodeKind kind, std::string identity, NodeContent content, std::span<const NodeIndex> children);

  // The first container background met while building, with the environment
  // it was declared in.
  struct ContainerBackground {
    View view;
    Environment environment;
  };
  const std::optional<ContainerBackground>& containerBackground() const { return containerBackground_; }

  std::optional<Date> nextRelativeChange() const { return nextRelativeChange_; }

 private:
  struct PendingReader {
    std::function<View(Size)> content;
    Environment environment;
    std::string identity;
  };

  void noteRelativeChange(std::optional<Date> change);
  void inheritLayoutPriority(NodeIndex wrapper, NodeIndex content);
  // build() and buildSingle() at the identity path in `path_`.
  void buildHere(const View& view, const Environment& environment, bool inHorizontalStack, NodeList& out);
  NodeIndex buildSingleHere(const View& view, const Environment& environment);
  void buildModified(const ModifiedNode& modified, const Environment& environment, bool inHorizontalStack,
                     NodeList& out);
  // Appends a segment (a name, a position) to `path_`, or numbers the path
  // ("#k", nothing for k = 0); each returns the length to cut `path_` back to.
  std::size_t enter(std::string_view segment);
  std::size_t enter(std::size_t position);
  std::size_t number(std::size_t k);

  LaidOutTree& tree_;
  // The identity path of the position being built: one buffer that grows and
  // shrinks with the depth, so no path is built per position.
  std::string path_;
  std::vector<PendingReader> pendingReaders_;
  std::optional<ContainerBackground> containerBackground_;
  std::optional<Date> nextRelativeChange_;
};

}  // namespace zelto::kit::detail
