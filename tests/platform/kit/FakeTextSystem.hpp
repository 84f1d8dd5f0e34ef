#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/kit/TextSystem.hpp"

namespace zelto::kit::testing {

// A deterministic text system so that layout tests can assert exact numbers
// independent of installed fonts. At point size s (the font's scaled size):
// - every character is 0.6 s wide, except "1", which is 0.4 s unless
//   tabular digits are asked for; tracking t adds t after every character;
// - a line is 1.2 s high; the first baseline is 0.95 s below the top;
// - lines break at spaces (inside a word only when it is wider than the
//   line); a text never reports more width than offered;
// - lines past the line limit or the height are dropped, the last shown
//   line ending in "…"; the font never shrinks;
// - symbols are s × s with their baseline at 0.9 s; only names in
//   knownSymbols exist.
class FakeTextSystem final : public TextSystem {
 public:
  TextMeasurement measure(const TextRequest& request, std::optional<double> width,
                          std::optional<double> height) const override;
  SymbolMeasurement measureSymbol(const SymbolRequest& request) const override;
  std::string resolvedFamily(const Font& font) const override;
  bool isFamilyInstalled(const std::string& family) const override { return family == "Fake Sans"; }

  // Every measurement asked for (layout is expected to cache).
  struct Call {
    TextRequest request;
    std::optional<double> width;
    std::optional<double> height;
    bool operator==(const Call&) const = default;
  };
  mutable std::vector<Call> calls;

  std::set<std::string> knownSymbols{"chevron.left", "chevron.right", "terminal.fill"};
};

}  // namespace zelto::kit::testing
