#include "apps/zelto-limits-widget/StatusCommand.hpp"

#include <gio/gio.h>
#include <glib-unix.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>

#include "apps/zelto-limits-widget/StatusLine.hpp"
#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "widget/model/SharedSnapshotStore.hpp"

namespace zelto::cli {

namespace {

template <class Object>
using GObjectPointer = std::unique_ptr<Object, decltype(&g_object_unref)>;

// Changes to the suite come in bursts (the database, its log and index);
// one refresh follows the last of them.
constexpr guint settleMilliseconds = 50;
// A suite another process holds is asked again this soon; the line printed
// last stays meanwhile.
constexpr guint busyRetryMilliseconds = 2000;

Date systemNow() {
  const auto since1970 = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch());
  return since1970.count() - referenceDateUnixSeconds;
}

// The line for what the suite holds now; nothing when the suite is busy.
std::optional<StatusLine> currentLine(const host::RequestEnvironment& environment, const SharedContainer& container) {
  const auto dashboard = SharedSnapshotStore(container).loadDashboard();
  if (dashboard.isBusy()) return std::nullopt;
  return makeStatusLine(dashboard.value(), environment);
}

// Prints a new line whenever the suite's folder changes or a relative time
// in the line is due to change, and only when the printed line differs.
class StatusWatch {
 public:
  StatusWatch(host::RequestEnvironment environment, SharedContainer container, bool clockIsFixed, StatusFormat format)
      : environment_(std::move(environment)),
        container_(std::move(container)),
        clockIsFixed_(clockIsFixed),
        format_(format) {}

  int run() {
    std::signal(SIGPIPE, SIG_IGN);  // a closed bar shows as a failed write, which ends the watch
    const GObjectPointer<GFile> folder(g_file_new_for_path(container_.location.directory.c_str()),
                                       g_object_unref);
    GError* error = nullptr;
    const GObjectPointer<GFileMonitor> monitor(
        g_file_monitor_directory(folder.get(), G_FILE_MONITOR_NONE, nullptr, &error), g_object_unref);
    if (!monitor) {
      std::cerr << "zelto-limits-widget: cannot watch " << container_.location.directory.string() << ": "
                << (error ? error->message : "unknown error") << '\n';
      g_clear_error(&error);
      return 2;
    }
    g_signal_connect(monitor.get(), "changed", G_CALLBACK(&StatusWatch::onFolderChanged), this);
    const guint interrupt = g_unix_signal_add(SIGINT, &StatusWatch::onStop, this);
    const guint terminate = g_unix_signal_add(SIGTERM, &StatusWatch::onStop, this);
    refresh();
    if (running_) g_main_loop_run(loop_.get());
    g_source_remove(interrupt);
    g_source_remove(terminate);
    clearSource(settle_);
    clearSource(tick_);
    return 0;
  }

 private:
  static void onFolderChanged(GFileMonitor*, GFile*, GFile*, GFileMonitorEvent, gpointer self) {
    auto* watch = static_cast<StatusWatch*>(self);
    clearSource(watch->settle_);
    watch->settle_ = g_timeout_add(settleMilliseconds, &StatusWatch::onSettled, self);
  }
  static gboolean onSettled(gpointer self) {
    auto* watch = static_cast<StatusWatch*>(self);
    watch->settle_ = 0;  // removed by returning G_SOURCE_REMOVE
    watch->refresh();
    return G_SOURCE_REMOVE;
  }
  static gboolean onTick(gpointer self) {
    auto* watch = static_cast<StatusWatch*>(self);
    watch->tick_ = 0;
    watch->refresh();
    return G_SOURCE_REMOVE;
  }
  static gboolean onStop(gpointer self) {
    static_cast<StatusWatch*>(self)->stop();
    return G_SOURCE_CONTINUE;
  }
  static void clearSource(guint& source) {
    if (source != 0) g_source_remove(source);
    source = 0;
  }

  void stop() {
    running_ = false;
    g_main_loop_quit(loop_.get());
  }

  void refresh() {
    if (!clockIsFixed_) environment_.now = systemNow();
    clearSource(tick_);
    const auto line = currentLine(environment_, container_);
    if (!line) {
      tick_ = g_timeout_add(busyRetryMilliseconds, &StatusWatch::onTick, this);
      return;
    }
    const std::string printed = formatStatusLine(*line, format_);
    if (printed != lastPrinted_) {
      std::cout << printed << std::endl;
      if (!std::cout) return stop();
      lastPrinted_ = printed;
    }
    // 2. Wake when a relative time next changes its wording.
    if (!clockIsFixed_ && std::isfinite(line->nextChange)) {
      const double seconds = std::clamp(line->nextChange - environment_.now, 0.0, 86400.0);
      tick_ = g_timeout_add(static_cast<guint>(std::ceil(seconds * 1000)) + 1, &StatusWatch::onTick, this);
    }
  }

  host::RequestEnvironment environment_;
  SharedContainer container_;
  bool clockIsFixed_;
  StatusFormat format_;
  std::unique_ptr<GMainLoop, decltype(&g_main_loop_unref)> loop_{g_main_loop_new(nullptr, FALSE), g_main_loop_unref};
  bool running_ = true;
  guint settle_ = 0;
  guint tick_ = 0;
  std::string lastPrinted_;
};

}  // namespace

RegisteredCommand registerStatusCommand(CLI::App& program, const RequestOptions& options) {
  struct Settings {
    StatusFormat format = StatusFormat::text;
    bool watch = false;
  };
  auto settings = std::make_shared<Settings>();
  CLI::App* command = program.add_subcommand(
      "status", "Print one line for a status bar: the primary account's tightest window (--watch: keep printing)");
  const std::map<std::string, StatusFormat> formats = {{"text", StatusFormat::text},
                                                       {"json", StatusFormat::json},
                                                       {"waybar", StatusFormat::waybar},
                                                       {"polybar", StatusFormat::polybar},
                                                       {"i3blocks", StatusFormat::i3blocks}};
  command->add_option("--format", settings->format, "Output for text, json, waybar, polybar or i3blocks (format=json)")
      ->transform(CLI::CheckedTransformer(formats).description(""))
      ->type_name("FORMAT");
  command->add_flag("--watch", settings->watch,
                    "Print a new line each time the suite or a relative time changes what it says");
  return {command, [settings, &options](const host::RequestEnvironment& environment, const SharedContainer& container) {
            if (settings->watch) {
              return StatusWatch(environment, container, options.now.has_value(), settings->format).run();
            }
            const auto dashboard = SharedSnapshotStore(container).loadDashboard();
            if (dashboard.isBusy()) throw SuiteBusyError(dashboard.busy().message);
            std::cout << formatStatusLine(makeStatusLine(dashboard.value(), environment), settings->format) << '\n';
            return std::cout ? 0 : 1;
          }};
}

}  // namespace zelto::cli
