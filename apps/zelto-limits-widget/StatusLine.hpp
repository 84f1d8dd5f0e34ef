#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/host/RequestEnvironment.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto::cli {

// How much is left in the window a status line shows, by the gauges' tone
// bands (above 25 ok, 10 to 25 warning, below 10 critical), or no data.
enum class StatusTone { ok, warning, critical, waiting };

// What a status bar shows: the primary account's tightest window.
struct StatusLine {
  std::string text;     // one line: "Personal 62% · resets in 2 hr, 18 min"
  std::string tooltip;  // every account, window and reset credit, one per line
  StatusTone tone = StatusTone::waiting;
  std::optional<std::int64_t> percentage;  // remaining percent of the window shown
  // When a relative time in the text or tooltip next changes its wording
  // (positive infinity when none will).
  Date nextChange = 0;

  bool operator==(const StatusLine&) const = default;
};

// The status line of `dashboard` (nullopt: no data) at the environment's
// clock, in its locale. The primary account is the one the small widget
// shows; its tightest window is the one with the least remaining (the first
// of equals). Data texts are shown verbatim except that line breaks and
// other control characters become spaces, so the text stays one line.
StatusLine makeStatusLine(const std::optional<ZeltoDashboardSnapshot>& dashboard,
                          const host::RequestEnvironment& environment);

enum class StatusFormat { text, json, waybar, polybar, i3blocks };

// One line, without a line break, in the bar's own convention:
// - text: the text alone;
// - json: {"text", "tooltip", "class", "percentage"} with plain texts;
// - waybar: the same with text and tooltip escaped as Pango markup, which
//   waybar parses; "percentage" is left out without data;
// - polybar: the text in the tone's colour (%{F#rrggbb}...%{F-}), with "%{"
//   in data texts broken up so that they cannot open a formatting tag;
// - i3blocks: {"full_text", "short_text", "color"} for format=json.
std::string formatStatusLine(const StatusLine& line, StatusFormat format);

// "ok", "warning", "critical" or "waiting".
const char* toneClass(StatusTone tone);

}  // namespace zelto::cli
