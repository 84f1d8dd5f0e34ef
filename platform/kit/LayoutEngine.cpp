#include "platform/kit/LayoutEngine.hpp"

#include <bit>
#include <cmath>

#include "platform/kit/Button.hpp"
#include "platform/kit/StackLayout.hpp"

namespace zelto::kit::detail {
namespace {

// Shapes offered an unspecified dimension take this much of it.
constexpr double unspecifiedShapeLength = 10;

// Proposals from outside or from arithmetic: not-a-number counts as
// unspecified, a negative length as zero.
std::optional<double> sanitizedLength(std::optional<double> length) {
  if (!length || std::isnan(*length)) return std::nullopt;
  return std::max(0.0, *length);
}

ProposedSize sanitized(ProposedSize proposal) {
  return {sanitizedLength(proposal.width), sanitizedLength(proposal.height)};
}

// Infinity asks for a view's maximum, which only makes sense while sizing; a
// view placed with an infinite dimension takes its ideal size there instead.
std::optional<double> placementLength(std::optional<double> length) {
  if (!length || std::isinf(*length)) return std::nullopt;
  return length;
}

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0; }

// A size that can be drawn: an infinite answer (to an infinite proposal) or
// a nonsensical one becomes zero.
Size placeable(Size size) {
  return {std::isfinite(size.width) ? std::max(0.0, size.width) : 0,
          std::isfinite(size.height) ? std::max(0.0, size.height) : 0};
}

std::optional<double> finiteLength(std::optional<double> length) {
  if (!length || !std::isfinite(*length)) return std::nullopt;
  return *length;
}

}  // namespace

LayoutEngine::LayoutEngine(LaidOutTree& tree, ViewBuilder& builder, const TextSystem& textSystem)
    : tree_(tree), builder_(builder), textSystem_(textSystem) {
  // Nodes see a handful of proposals each in a pass; texts one to three.
  entries_.reserve(tree_.nodes.size() * 6);
  textEntries_.reserve(tree_.nodes.size() * 2);
  textMeasurements_.reserve(tree_.nodes.size());
  ensureCaches();
}

void LayoutEngine::ensureCaches() {
  if (firstEntry_.size() < tree_.nodes.size()) {
    firstEntry_.resize(tree_.nodes.size(), noEntry);
    firstTextEntry_.resize(tree_.nodes.size(), noEntry);
    symbols_.resize(tree_.nodes.size());
  }
}

LayoutEngine::ProposalKey LayoutEngine::keyOf(ProposedSize proposal) {
  // A NaN with a payload of its own: sanitized lengths are never NaN.
  constexpr std::uint64_t unspecified = 0x7ff8'0000'5a17'0000ULL;
  const auto bits = [](std::optional<double> length) {
    return length ? std::bit_cast<std::uint64_t>(*length) : unspecified;
  };
  return {bits(proposal.width), bits(proposal.height)};
}

Measured LayoutEngine::measure(NodeIndex index, ProposedSize proposal) {
  proposal = sanitized(proposal);
  const ProposalKey key = keyOf(proposal);
  for (std::uint32_t e = firstEntry_[index]; e != noEntry; e = entries_[e].next) {
    if (entries_[e].key == key) return entries_[e].measured;
  }
  const Measured measured = computeMeasure(index, proposal);
  entries_.push_back({key, measured, firstEntry_[index]});
  firstEntry_[index] = static_cast<std::uint32_t>(entries_.size() - 1);
  return measured;
}

const TextMeasurement& LayoutEngine::measureText(NodeIndex index, ProposedSize proposal) {
  return textMeasurements_[textMeasurementIndex(index, proposal)];
}

std::uint32_t LayoutEngine::textMeasurementIndex(NodeIndex index, ProposedSize proposal) {
  // An infinite width asks for the ideal size, as an unspecified one does.
  const std::optional<double> width = finiteLength(proposal.width);
  const std::optional<double> height = finiteLength(proposal.height);
  const ProposalKey key = keyOf({width, height});
  for (std::uint32_t e = firstTextEntry_[index]; e != noEntry; e = textEntries_[e].next) {
    if (textEntries_[e].key == key) return textEntries_[e].measurement;
  }
  // A height only cuts lines off (or shrinks the text) when the text does not
  // fit in it: where the unconstrained text fits, that is the answer. A text
  // always keeps at least one line, so a single line that may not shrink is
  // the answer for any height too.
  const TextRequest& request = tree_.nodes[index].as<TextContent>()->request;
  std::uint32_t found = noEntry;
  if (height) {
    const std::uint32_t unconstrained = textMeasurementIndex(index, {width, std::nullopt});
    const TextMeasurement& answer = textMeasurements_[unconstrained];
    if (answer.size.height <= *height + 1e-9 || (answer.lineCount <= 1 && request.minimumScaleFactor >= 1)) {
      found = unconstrained;
    }
  }
  if (found == noEntry) {
    TextMeasurement measurement = textSystem_.measure(request, width, height);
    measurement.size = placeable(measurement.size);
    textMeasurements_.push_back(std::move(measurement));
    found = static_cast<std::uint32_t>(textMeasurements_.size() - 1);
  }
  textEntries_.push_back({key, found, firstTextEntry_[index]});
  firstTextEntry_[index] = static_cast<std::uint32_t>(textEntries_.size() - 1);
  return found;
}

const SymbolMeasurement& LayoutEngine::measureSymbol(NodeIndex index) {
  std::optional<SymbolMeasurement>& slot = symbols_[index];
  if (!slot) {
    SymbolMeasurement measurement = textSystem_.measureSymbol(tree_.nodes[index].as<SymbolContent>()->request);
    if (!measurement.known) measurement.size = {};
    measurement.size = placeable(measurement.size);
    slot = measurement;
  }
  return *slot;
}

const std::string& LayoutEngine::resolvedFamily(const Font& font) {
  for (const auto& [known, family] : families_) {
    if (known == font) return family;
  }
  families_.emplace_back(font, textSystem_.resolvedFamily(font));
  return families_.back().second;
}

Measured LayoutEngine::computeMeasure(NodeIndex index, ProposedSize proposal) {
  const LaidOutNode& node = tree_.nodes[index];
  switch (node.kind) {
    case NodeKind::text: {
      const TextMeasurement& text = measureText(index, proposal);
      return {text.size, text.firstBaseline, text.lastBaseline, true};
    }
    case NodeKind::image: {
      const SymbolMeasurement& symbol = measureSymbol(index);
      if (!symbol.known) return Measured::withoutText({0, 0});
      return {symbol.size, symbol.baseline, symbol.baseline, true};
    }
    case NodeKind::shape:
      return Measured::withoutText(
          {proposal.width.value_or(unspecifiedShapeLength), proposal.height.value_or(unspecifiedShapeLength)});
    case NodeKind::spacer: {
      const SpacerContent& spacer = *node.as<SpacerContent>();
      const std::optional<double> along = spacer.horizontal ? proposal.width : proposal.height;
      const double length = std::max(spacer.minLength, along.value_or(spacer.minLength));
      return Measured::withoutText(spacer.horizontal ? Size{length, 0} : Size{0, length});
    }
    case NodeKind::geometryReader:
      return Measured::withoutText({proposal.width.value_or(0), proposal.height.value_or(0)});
    default:
      return plan(index, proposal, PlanUse::measuring).measured;
  }
}

ContainerPlan LayoutEngine::plan(NodeIndex index, ProposedSize proposal, PlanUse use) {
  switch (tree_.nodes[index].kind) {
    case NodeKind::hstack:
    case NodeKind::vstack:
      return planLinearStack(*this, index, proposal, use);
    case NodeKind::zstack:
    case NodeKind::root:
      return planLayeredStack(*this, index, proposal, use);
    default:
      return planWrapper(index, proposal);
  }
}

ContainerPlan LayoutEngine::planWrapper(NodeIndex index, ProposedSize proposal) {
  const LaidOutNode& node = tree_.nodes[index];
  const auto children = tree_.children(node);
  ContainerPlan result;

  if (children.empty()) {
    // A frame around nothing keeps its own size; anything else is empty.
    Size size{};
    if (const auto* fixed = node.as<FixedFrameContent>()) {
      size = fixedFrameSize(*fixed, {});
    } else if (const auto* flexible = node.as<FlexibleFrameContent>()) {
      size = flexibleFrameSize(flexible->bounds, proposal, {});
    }
    result.measured = Measured::withoutText(size);
    return result;
  }

  const NodeIndex child = children.front();
  if (const auto* fixed = node.as<FixedFrameContent>()) {
    const ProposedSize childProposal = fixedFrameChildProposal(*fixed, proposal);
    const Measured inner = measure(child, childProposal);
    const Size size = fixedFrameSize(*fixed, inner.size);
    const Point offset = alignedOffset(fixed->alignment, size, inner.size);
    result.measured = inner.shiftedInto(size, offset.y);
    result.children.push_back({child, childProposal, offset});
  } else if (const auto* flexible = node.as<FlexibleFrameContent>()) {
    const ProposedSize childProposal = flexibleFrameChildProposal(flexible->bounds, proposal);
    const Measured inner = measure(child, childProposal);
    const Size size = flexibleFrameSize(flexible->bounds, proposal, inner.size);
    const Point offset = alignedOffset(flexible->bounds.alignment, size, inner.size);
    result.measured = inner.shiftedInto(size, offset.y);
    result.children.push_back({child, childProposal, offset});
  } else if (const auto* padding = node.as<PaddingContent>()) {
    const ProposedSize childProposal = paddedProposal(padding->insets, proposal);
    const Measured inner = measure(child, childProposal);
    const Size size{std::max(0.0, inner.size.width + padding->insets.horizontal()),
                    std::max(0.0, inner.size.height + padding->insets.vertical())};
    result.measured = inner.shiftedInto(size, padding->insets.top);
    result.children.push_back({child, childProposal, {padding->insets.leading, padding->insets.top}});
  } else if (const auto* layer = node.as<LayerContent>()) {
    const Measured main = measure(child, proposal);
    result.measured = main;
    result.children.push_back({child, proposal, {0, 0}});
    if (children.size() > 1) {
      const ProposedSize secondaryProposal = ProposedSize::exactly(placeable(main.size));
      const Measured secondary = measure(children[1], secondaryProposal);
      result.children.push_back(
          {children[1], secondaryProposal, alignedOffset(layer->alignment, main.size, secondary.size)});
    }
  } else if (const auto* ratio = node.as<AspectRatioContent>()) {
    const ProposedSize childProposal = aspectRatioProposal(ratio->ratio, ratio->mode, proposal);
    result.measured = measure(child, childProposal);
    result.children.push_back({child, childProposal, {0, 0}});
  } else {
    // Buttons, drawing effects and safe-area extensions are as big as their content.
    result.measured = measure(child, proposal);
    result.children.push_back({child, proposal, {0, 0}});
  }
  return result;
}

Rect LayoutEngine::extendedIntoUnsafeArea(const Rect& frame, Edges edges) const {
  constexpr double tolerance = 0.001;
  const Rect& safe = tree_.safeArea;
  double left = frame.minX(), top = frame.minY(), right = frame.maxX(), bottom = frame.maxY();
  if (edges.contains(Edges::leading()) && left <= safe.minX() + tolerance) left = std::min(left, 0.0);
  if (edges.contains(Edges::top()) && top <= safe.minY() + tolerance) top = std::min(top, 0.0);
  if (edges.contains(Edges::trailing()) && right >= safe.maxX() - tolerance) right = std::max(right, tree_.size.width);
  if (edges.contains(Edges::bottom()) && bottom >= safe.maxY() - tolerance)
    bottom = std::max(bottom, tree_.size.height);
  return {left, top, right - left, bottom - top};
}

void LayoutEngine::place(NodeIndex index, ProposedSize proposal, Point origin, double opacity) {
  proposal = sanitized(proposal);
  proposal = {placementLength(proposal.width), placementLength(proposal.height)};
  const Measured measured = measure(index, proposal);
  const Size size = placeable(measured.size);

  double ownOpacity = opacity;
  NodeKind kind;
  {
    LaidOutNode& node = tree_.nodes[index];
    kind = node.kind;
    node.frame = {origin.x, origin.y, size.width, size.height};
    node.hasTextBaseline = measured.hasTextBaseline;
    node.firstBaseline = finiteOrZero(measured.firstBaseline);
    node.lastBaseline = finiteOrZero(measured.lastBaseline);
    if (const auto* effect = node.as<OpacityContent>()) ownOpacity *= effect->opacity;
    if (const auto* button = node.as<ButtonContent>(); button != nullptr && !button->enabled) {
      ownOpacity *= disabledButtonOpacity;
    }
    node.opacity = ownOpacity;
  }

  switch (kind) {
    case NodeKind::text: {
      const TextMeasurement& measurement = measureText(index, proposal);
      TextContent& text = *tree_.nodes[index].as<TextContent>();
      text.measurement = measurement;
      text.resolvedFamily = resolvedFamily(text.request.font);
      return;
    }
    case NodeKind::image: {
      SymbolMeasurement measurement = measureSymbol(index);
      SymbolContent& symbol = *tree_.nodes[index].as<SymbolContent>();
      symbol.measurement = std::move(measurement);
      symbol.resolvedFamily = resolvedFamily(symbol.request.font);
      return;
    }
    case NodeKind::shape:
    case NodeKind::spacer:
      return;
    case NodeKind::geometryReader: {
      const GeometryReaderContent reader = *tree_.nodes[index].as<GeometryReaderContent>();
      if (tree_.nodes[index].childCount > 0) return;  // already built
      const NodeIndex content = builder_.buildReaderContent(reader, size);
      ensureCaches();
      if (content == noNode) return;
      LaidOutNode& node = tree_.nodes[index];
      node.firstChild = static_cast<std::uint32_t>(tree_.childIndices.size());
      node.childCount = 1;
      tree_.childIndices.push_back(content);
      tree_.nodes[content].parent = index;
      place(content, ProposedSize::exactly(size), origin, ownOpacity);
      return;
    }
    case NodeKind::ignoresSafeArea: {
      const Rect extended =
          extendedIntoUnsafeArea(tree_.nodes[index].frame, tree_.nodes[index].as<SafeAreaContent>()->edges);
      tree_.nodes[index].frame = extended;
      if (tree_.nodes[index].childCount > 0) {
        const NodeIndex child = tree_.children(index).front();
        place(child, ProposedSize::exactly(extended.size()), {extended.x, extended.y}, ownOpacity);
      }
      return;
    }
    default:
      break;
  }

  const ContainerPlan containerPlan = plan(index, proposal, PlanUse::placing);
  for (const ChildPlacement& placement : containerPlan.children) {
    place(placement.child, placement.proposal, {origin.x + placement.offset.x, origin.y + placement.offset.y},
          ownOpacity);
  }
}

}  // namespace zelto::kit::detail
