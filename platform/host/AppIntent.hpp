#pragma once

#include <string>

#include "platform/host/RequestEnvironment.hpp"
#include "platform/host/WidgetCenter.hpp"

namespace zelto::host {

// An intent's result: no value, no dialog, no snippet; only whether it did
// its work. An intent that did not changes nothing and says why.
class IntentResult {
 public:
  enum class Outcome {
    done,
    // Its data was out of reach for the moment; trying again may work.
    notRunNow,
    // It cannot do its work; trying again will not help.
    failed,
  };

  static IntentResult done() { return {Outcome::done, {}}; }
  static IntentResult notRunNow(std::string reason) { return {Outcome::notRunNow, std::move(reason)}; }
  static IntentResult failed(std::string reason) { return {Outcome::failed, std::move(reason)}; }

  Outcome outcome() const { return outcome_; }
  // Why it did not run; empty when it did.
  const std::string& reason() const { return reason_; }

 private:
  IntentResult(Outcome outcome, std::string reason) : outcome_(outcome), reason_(std::move(reason)) {}
  Outcome outcome_;
  std::string reason_;
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
