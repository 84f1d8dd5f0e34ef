#pragma once

#include <gtk/gtk.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "apps/zelto-limits-widget/HostSettings.hpp"
#include "apps/zelto-limits-widget/RequestOptions.hpp"
#include "platform/host/WidgetCenter.hpp"
#include "platform/kit/WidgetFamily.hpp"
#include "platform/render/PangoTextSystem.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto::cli {

class WidgetInstance;

// What one start asks of the desktop host: a widget to open (or to bring
// current when that instance is open already) and how to read the suite.
struct ShowRequest {
  RequestOptions options;
  std::string instance = "default";
  std::optional<kit::WidgetFamily> family;  // absent: the remembered one, else medium
  bool reduceMotion = false;
};

// The desktop host: one GTK application per user (on the session bus),
// holding every open widget. A start while another host runs hands its
// request over to that one and ends.
class DesktopHost {
 public:
  static constexpr const char* applicationId = "org.zelto.LimitsWidget";
  static constexpr const char* applicationPath = "/org/zelto/LimitsWidget";

  // Work the first frame waits for that need not wait for the display: the
  // text system made on a thread, and there warmed by `warmUp` (laying out
  // what the first frame shows fills its caches), and the session bus
  // connecting in the background.
  struct StartUp {
    std::future<std::unique_ptr<render::PangoTextSystem>> text;
  };
  static StartUp beginStartUp(std::function<void(const render::PangoTextSystem&)> warmUp = {});

  explicit DesktopHost(StartUp startUp = beginStartUp());
  ~DesktopHost();
  DesktopHost(const DesktopHost&) = delete;
  DesktopHost& operator=(const DesktopHost&) = delete;

  // Opens the widget and runs until the last widget closes or Quit; when a
  // host is running already, hands the request to it and returns at once.
  // Returns the exit status.
  int show(const ShowRequest& request);

  // Opens the widget gallery in a window (in the running host if any).
  int showGallery(const RequestOptions& options);

  // Asks the running host to run one of its actions ("reload", "quit").
  // Returns 0 when delivered, 1 when no host runs.
  static int sendAction(const char* action);

  // --- For the widgets ---------------------------------------------------------
  const render::PangoTextSystem& textSystem() const;
  const HostSettings& settings() const { return settings_; }
  GtkApplication* application() const { return application_; }
  // Runs the intent named `identifier` off the main thread in `environment`;
  // its reload requests come back to the main thread.
  void runIntent(const std::string& identifier, const host::RequestEnvironment& environment,
                 const SharedContainer& container);
  void openWidget(const ShowRequest& request);
  void openGallery(const RequestOptions& options);
  void closeWidget(WidgetInstance* instance);
  // Sends the desktop notifications `entry` calls for (when the user turned
  // them on) for a widget showing `shownAccounts` accounts of the suite
  // `options` name; each opens the gallery of that suite.
  void sendNotifications(const LimitEntry& entry, std::int64_t shownAccounts,
                         const host::RequestEnvironment& environment, const RequestOptions& options);
  // The user's reduce-motion choice (GTK animations off) and text scale.
  bool animationsDisabled() const;
  double textScale() const;
  // A line in the diagnostic log ($ZELTO_LIMITS_HOST_LOG), stamped with the
  // wall clock in microseconds.
  void log(const std::string& line) const;

 private:
  bool registerApplication();
  void reloadAll();
  void installActions();
  static void onReloadRequested(gpointer self);

  GtkApplication* application_ = nullptr;
  mutable std::future<std::unique_ptr<render::PangoTextSystem>> textLoading_;
  mutable std::unique_ptr<render::PangoTextSystem> text_;
  HostSettings settings_;
  host::WidgetCenter widgetCenter_;
  std::vector<std::unique_ptr<WidgetInstance>> instances_;
  // Intents running or run; finished ones are joined (their stacks given
  // back) when the next one starts.
  struct IntentRun {
    std::shared_ptr<std::atomic<bool>> finished;
    std::jthread thread;
  };
  std::vector<IntentRun> intentRuns_;
  std::FILE* log_ = nullptr;
};

}  // namespace zelto::cli
