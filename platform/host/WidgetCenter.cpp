#include "platform/host/WidgetCenter.hpp"

#include <utility>

namespace zelto::host {

void WidgetCenter::reloadTimelines(std::string_view ofKind) {
  std::vector<Observer> observers;
  {
    std::lock_guard lock(mutex_);
    requested_.emplace_back(ofKind);
    observers = observers_;
  }
  // Called outside the lock so that an observer may request again.
  for (const auto& observer : observers) observer(std::string(ofKind));
}

void WidgetCenter::observe(Observer observer) {
  std::lock_guard lock(mutex_);
  observers_.push_back(std::move(observer));
}

std::vector<std::string> WidgetCenter::takeRequestedReloads() {
  std::lock_guard lock(mutex_);
  return std::exchange(requested_, {});
}

}  // namespace zelto::host
