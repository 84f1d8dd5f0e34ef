#pragma once

#include <string>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/host/WidgetCenter.hpp"

namespace zelto::host {

// An intent's empty result: no value, no dialog, no snippet.
struct IntentResult {
  bool operator==(const IntentResult&) const = default;
};

// What the intent runner hands to `perform`: the request's environment and
// the widget centre of the process.
struct IntentContext {
  RequestEnvironment environment;
  WidgetCenter& widgetCenter;
};

// An action a widget button runs inside the widget process.
class AppIntent {
 public:
  virtual ~AppIntent() = default;
  // A stable identifier by which a button refers to the intent.
  virtual std::string identifier() const = 0;
  // The localizable title.
  virtual std::string title() const = 0;
  virtual bool openAppWhenRun() const = 0;
  virtual IntentResult perform(const IntentContext& context) const = 0;
};

}  // namespace zelto::host
