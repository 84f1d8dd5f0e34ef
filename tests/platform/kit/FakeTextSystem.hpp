#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/kit/TextSystem.hpp"

namespace zelto::kit::testing {

// A deterministic text system so that layout tests can assert exact numbers
// independent of installed fonts. At point size s (the font's scaled size
// times the applied scale):
// - every character is 0.6 s wide, except "1", which is 0.4 s unless
//   tabular digits are asked for; tracking t adds t after every character,
//   the last included;
// - a line is 1.2 s high; the first baseline is 0.95 s below the top;
// - lines break at spaces (inside a word only when it is wider than the
//   line); a text never reports more width than offered;
// - lines past the line limit or the height are cut, the last shown line
//   ending in "…" (tail truncation); before cutting, the size shrinks down
//   to the minimum scale factor;
// - symbols are s × s with their baseline at 0.9 s; only names in
//   knownSymbols exist.
class FakeTextSystem final : public TextSystem {
 public:
  TextMeasurement measure(const TextRequest& request, std::optional<double> width,
                          std::optional<double> height) const override;
  SymbolMeasurement measureSymbol(const SymbolRequest& request) const override;
  std::string resolvedFamily(const Font& font) const override;
  bool isFamilyInstalled(const std::string& family) const override;

  // How many times measure() ran, and with what (layout is expected to cache).
  struct Call {
    TextRequest request;
    std::optional<double> width;
    std::optional<double> height;
    bool operator==(const Call&) const = default;
  };
  mutable int measureCalls = 0;
  mutable std::vector<Call> calls;

  std::set<std::string> knownSymbols{"chevron.left",
                                     "chevron.right",
                                     "waveform.path.ecg",
                                     "terminal.fill",
                                     "exclamationmark.triangle",
                                     "exclamationmark.triangle.fill"};
};

}  // namespace zelto::kit::testing
