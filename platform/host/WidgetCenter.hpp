#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zelto::host {

// The host's widget centre: anyone in the widget process may ask it to reload
// the timelines of every widget of a kind; the host observes those requests
// and asks the provider for new timelines. Safe to use from any thread.
class WidgetCenter {
 public:
  using Observer = std::function<void(const std::string& kind)>;

  void reloadTimelines(std::string_view ofKind);

  // Observers run on the thread that requested the reload.
  void observe(Observer observer);

  // Every kind requested so far, in order, and forgets them.
  std::vector<std::string> takeRequestedReloads();

 private:
  std::mutex mutex_;
  std::vector<std::string> requested_;
  std::vector<Observer> observers_;
};

}  // namespace zelto::host
