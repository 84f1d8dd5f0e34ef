#pragma once

#include <gtest/gtest.h>

#include <string>

#include "FakeTextSystem.hpp"
#include "platform/kit/Inspection.hpp"
#include "platform/kit/Kit.hpp"

namespace zelto::kit::testing {

inline constexpr double tolerance = 0.01;

// Lays `view` out with the fake text system and a default environment.
inline LaidOutTree layoutForTest(const View& view, ProposedSize proposal, const Environment& environment = {}) {
  static const FakeTextSystem textSystem;
  return layout(view, proposal, environment, textSystem);
}

inline ::testing::AssertionResult frameIs(const Rect& actual, const Rect& expected) {
  const auto near = [](double a, double b) { return std::abs(a - b) <= tolerance; };
  if (near(actual.x, expected.x) && near(actual.y, expected.y) && near(actual.width, expected.width) &&
      near(actual.height, expected.height)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "frame is {" << actual.x << ", " << actual.y << ", " << actual.width << ", "
                                       << actual.height << "}, expected {" << expected.x << ", " << expected.y << ", "
                                       << expected.width << ", " << expected.height << "}";
}

// The node with this identity; fails the test when there is none.
inline const LaidOutNode& nodeAt(const LaidOutTree& tree, const std::string& identity) {
  const LaidOutNode* node = findByIdentity(tree, identity);
  EXPECT_NE(node, nullptr) << "no node " << identity << " in " << inspectJson(tree);
  static const LaidOutNode missing;
  return node != nullptr ? *node : missing;
}

// The frame of the first text node showing `text`.
inline Rect textFrame(const LaidOutTree& tree, const std::string& text) {
  const LaidOutNode* node = findText(tree, text);
  EXPECT_NE(node, nullptr) << "no text " << text;
  return node != nullptr ? node->frame : Rect{-1, -1, -1, -1};
}

inline View sizedText(const std::string& text, double size) { return Text::verbatim(text).font(Font::system(size)); }

}  // namespace zelto::kit::testing
