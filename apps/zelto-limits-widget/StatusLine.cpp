#include "apps/zelto-limits-widget/StatusLine.hpp"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include <boost/json/serialize.hpp>

#include "widget/runtime/AccountPrioritization.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto::cli {

namespace {

// The text of the empty state.
constexpr const char* waitingText = "Waiting for Zelto";

// Line breaks, tabs and other control characters become spaces: a status
// line is one line, and a tooltip line must not split.
std::string oneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(),
      [](char character) { return static_cast<unsigned char>(character) < 0x20 || character == 0x7f; }, ' ');
  return text;
}

// The band of the gauges' tone: the palette's limit tone names it.
StatusTone toneFor(std::int64_t remaining) {
  const kit::Color tone = ZeltoPalette::limitTone(remaining);
  if (tone == ZeltoPalette::periwinkle) return StatusTone::ok;
  return tone == ZeltoPalette::amber ? StatusTone::warning : StatusTone::critical;
}

// The tone's palette colour as #RRGGBB; the secondary text colour without
// data.
std::string toneColour(StatusTone tone) {
  const kit::Color colour = tone == StatusTone::ok         ? ZeltoPalette::periwinkle
                            : tone == StatusTone::warning  ? ZeltoPalette::amber
                            : tone == StatusTone::critical ? ZeltoPalette::coral
                                                           : ZeltoPalette::secondaryText;
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%02X%02X%02X", static_cast<int>(std::lround(colour.red * 255)),
                static_cast<int>(std::lround(colour.green * 255)), static_cast<int>(std::lround(colour.blue * 255)));
  return hex;
}

// Builds the texts and remembers the earliest instant at which one of their
// relative times changes.
class Phrases {
 public:
  explicit Phrases(const host::RequestEnvironment& environment) : environment_(environment) {}

  std::string relative(Date date, const char* future, const char* past) {
    const Date now = environment_.now;
    nextChange_ = std::min(nextChange_, environment_.locale.nextRelativeChange(date, now));
    const std::string span = environment_.locale.formatRelative(date, now);
    return date > now ? future + span : past + span + " ago";
  }
  std::string reset(const ZeltoLimitWindow& window) {
    return window.resetsAt ? relative(*window.resetsAt, "resets in ", "reset ") : "";
  }
  std::string expiry(const ZeltoResetCredit& credit) {
    return credit.expiresAt ? relative(*credit.expiresAt, "expires in ", "expired ") : "no expiry";
  }
  Date nextChange() const { return nextChange_; }

 private:
  const host::RequestEnvironment& environment_;
  Date nextChange_ = std::numeric_limits<Date>::infinity();
};

std::string percent(std::int64_t value) { return std::to_string(value) + "%"; }

std::string tooltipOf(const std::vector<ZeltoAccountSnapshot>& accounts, Phrases& phrases) {
  std::string tooltip;
  for (const ZeltoAccountSnapshot& account : accounts) {
    if (!tooltip.empty()) tooltip += '\n';
    tooltip += oneLine(account.displayName());
    if (account.limits) {
      if (auto plan = account.limits->planDisplayName()) tooltip += " (" + oneLine(*plan) + ")";
    }
    if (account.errorMessage) tooltip += ": " + oneLine(*account.errorMessage);
    if (!account.limits) continue;
    for (const ZeltoLimitWindow& window : account.limits->windows) {
      const std::string reset = phrases.reset(window);
      tooltip += "\n  " + oneLine(window.title) + ": " + percent(window.remainingPercent()) + " left" +
                 (reset.empty() ? "" : ", " + reset);
    }
    for (const ZeltoResetCredit& credit : account.limits->resetCredits) {
      tooltip += "\n  " + oneLine(credit.title) + ": " + phrases.expiry(credit);
    }
  }
  return tooltip;
}

std::string markupEscaped(const std::string& text) {
  const std::unique_ptr<gchar, decltype(&g_free)> escaped(
      g_markup_escape_text(text.data(), static_cast<gssize>(text.size())), g_free);
  return escaped.get();
}

// Polybar reads "%{" as the start of a formatting tag, and its 3.6 release
// has no escape for it: a space keeps such data text from opening a tag.
std::string polybarSafe(std::string text) {
  for (std::size_t at = text.find("%{"); at != std::string::npos; at = text.find("%{", at + 2)) text.insert(at + 1, " ");
  return text;
}

}  // namespace

const char* toneClass(StatusTone tone) {
  switch (tone) {
    case StatusTone::ok:
      return "ok";
    case StatusTone::warning:
      return "warning";
    case StatusTone::critical:
      return "critical";
    case StatusTone::waiting:
      break;
  }
  return "waiting";
}

StatusLine makeStatusLine(const std::optional<ZeltoDashboardSnapshot>& dashboard,
                          const host::RequestEnvironment& environment) {
  StatusLine line;
  line.nextChange = std::numeric_limits<Date>::infinity();
  if (!dashboard || dashboard->accounts.empty()) {
    line.text = line.tooltip = waitingText;
    return line;
  }
  Phrases phrases(environment);
  const auto accounts = prioritizedAccounts(*dashboard, static_cast<std::int64_t>(dashboard->accounts.size()));
  const ZeltoAccountSnapshot& primary = accounts.front();
  line.text = oneLine(primary.displayName());
  const ZeltoLimitWindow* tightest = nullptr;
  if (primary.limits) {
    for (const ZeltoLimitWindow& window : primary.limits->windows) {
      if (!tightest || window.remainingPercent() < tightest->remainingPercent()) tightest = &window;
    }
  }
  if (tightest) {
    line.percentage = tightest->remainingPercent();
    line.tone = toneFor(*line.percentage);
    line.text += " " + percent(*line.percentage);
    if (const std::string reset = phrases.reset(*tightest); !reset.empty()) line.text += " · " + reset;
  } else {
    line.text += " · " + (primary.errorMessage ? oneLine(*primary.errorMessage) : std::string("no limits yet"));
  }
  line.tooltip = tooltipOf(accounts, phrases);
  line.nextChange = phrases.nextChange();
  return line;
}

std::string formatStatusLine(const StatusLine& line, StatusFormat format) {
  switch (format) {
    case StatusFormat::text:
      return line.text;
    case StatusFormat::json:
    case StatusFormat::waybar: {
      const bool markup = format == StatusFormat::waybar;
      boost::json::object object{{"text", markup ? markupEscaped(line.text) : line.text},
                                 {"tooltip", markup ? markupEscaped(line.tooltip) : line.tooltip},
                                 {"class", toneClass(line.tone)}};
      if (line.percentage) {
        object["percentage"] = *line.percentage;
      } else if (!markup) {
        object["percentage"] = nullptr;
      }
      return boost::json::serialize(object);
    }
    case StatusFormat::polybar:
      return "%{F" + toneColour(line.tone) + "}" + polybarSafe(line.text) + "%{F-}";
    case StatusFormat::i3blocks: {
      const std::string shortText = line.percentage ? percent(*line.percentage) : line.text;
      return boost::json::serialize(boost::json::object{
          {"full_text", line.text}, {"short_text", shortText}, {"color", toneColour(line.tone)}});
    }
  }
  return line.text;
}

}  // namespace zelto::cli
