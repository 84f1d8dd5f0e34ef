#include "apps/zelto-limits-widget/WidgetInstance.hpp"

#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "apps/zelto-limits-widget/SuiteOptions.hpp"
#include "apps/zelto-limits-widget/WidgetScene.hpp"
#include "platform/defaults/Suite.hpp"
#include "platform/kit/HitRegions.hpp"
#include "widget/layouts/MultiAccountLargeView.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {

namespace {

// Where a widget without a remembered position appears.
constexpr desktop::WindowPosition firstPosition{48, 48, std::nullopt};
// Moves settle for this long before the position is written down.
constexpr guint saveDelayMilliseconds = 500;

guint millisecondsUntil(Date date, Date now) {
  const double milliseconds = std::ceil((date - now) * 1000);
  // One millisecond late rather than early: the text has changed by then.
  return static_cast<guint>(std::clamp(milliseconds + 1, 1.0, 24.0 * 3600 * 1000));
}

// What a change of the stored data leaves on disk: the database file and its
// write-ahead log (size, modification time, inode). A reader touches only the
// log's shared-memory index, and creates an empty log the first time, so the
// widget's own reads do not count as changes of the suite.
std::string suiteFingerprint(const SharedContainer& container) {
  const auto database = defaults::Suite::open(container.suiteName, container.location).path();
  std::string fingerprint;
  for (const auto& file : {database.string(), database.string() + "-wal"}) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
      fingerprint += "-;";
      continue;
    }
    fingerprint += std::to_string(status.st_ino) + ":" + std::to_string(status.st_size) + ":" +
                   std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec) + ";";
  }
  return fingerprint;
}

// How many accounts the widget's layouts show in `family`: the ones its
// notifications are about.
std::int64_t shownAccounts(kit::WidgetFamily family) {
  switch (family) {
    case kit::WidgetFamily::systemMedium:
      return 2;
    case kit::WidgetFamily::systemLarge:
      return MultiAccountLargeView::shownAccounts;
    default:
      return 1;
  }
}

}  // namespace

WidgetInstance::WidgetInstance(DesktopHost& host, const ShowRequest& request, host::WidgetCenter& widgetCenter)
    : host_(host),
      name_(request.instance),
      reduceMotion_(request.reduceMotion),
      environment_(resolveRequest(request.options, locale::processEnvironment())),
      container_(resolveContainer(request.options, locale::processEnvironment(), defaults::SuiteAccess::read)),
      options_(request.options),
      startMicroseconds_(g_get_monotonic_time()),
      provider_(container_),
      driver_(provider_, widgetCenter, std::string(ZeltoLimitsWidget::kind)) {
  const auto remembered = host_.settings().load(name_);
  family_ = request.family.value_or(remembered.family);
  buildWindow(remembered.position);
  // The placeholder at once, then the timeline as soon as the window is up.
  show(driver_.requestPlaceholder(context()));
  reloadTimer_ = desktop::SourceId(g_idle_add(&WidgetInstance::onReloadDue, this));
  monitor_ = std::make_unique<desktop::FolderMonitor>(container_.location.directory, [this] {
    if (suiteFingerprint(container_) == suiteFingerprint_) return;
    host_.log("suite-changed " + name_);
    reload();
  });
  rememberSettings();
}

WidgetInstance::~WidgetInstance() {
  monitor_.reset();
  if (window_ != nullptr) {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
  }
}

Date WidgetInstance::now() const {
  return environment_.now + static_cast<double>(g_get_monotonic_time() - startMicroseconds_) / 1e6;
}

host::TimelineProviderContext WidgetInstance::context() const {
  host::TimelineProviderContext context{family_, false, environment_};
  context.environment.now = now();
  return context;
}

void WidgetInstance::reload() {
  const auto timeline = driver_.requestTimeline(context());
  suiteFingerprint_ = suiteFingerprint(container_);
  host_.log("timeline " + name_);
  // A suite another process holds is not "no data": the last good entry
  // stays on screen and the timeline asks again soon.
  if (!timeline.entries.empty() && timeline.entries.front().transientFailure) {
    host_.log("suite-busy " + name_);
  } else if (!timeline.entries.empty()) {
    show(timeline.entries.front());
    host_.sendNotifications(timeline.entries.front(), shownAccounts(family_), context().environment, options_);
  }
  if (timeline.policy.kind == host::TimelineReloadPolicy::Kind::after) scheduleReload(timeline.policy.date);
  trimAfterFrame_ = true;
}

void WidgetInstance::scheduleReload(Date date) {
  reloadTimer_ = desktop::SourceId(g_timeout_add(millisecondsUntil(date, now()), &WidgetInstance::onReloadDue, this));
}

gboolean WidgetInstance::onReloadDue(gpointer self) {
  auto* instance = static_cast<WidgetInstance*>(self);
  instance->reloadTimer_.release();  // the source ends by returning G_SOURCE_REMOVE
  instance->reload();
  return G_SOURCE_REMOVE;
}

void WidgetInstance::show(const LimitEntry& entry) {
  entry_ = entry;
  const bool reduceMotion = reduceMotion_ || host_.animationsDisabled();
  scene::SceneSettings settings = scene::settingsFor(family_);
  settings.textScale = host_.textScale();
  settings.reduceMotion = reduceMotion;
  auto request = environment_;
  request.now = now();
  auto tree = scene::layoutScene(entry, request, settings, host_.textSystem());
  const auto nextChange = tree.nextRelativeChange;
  for (const auto& region : kit::hitRegions(tree)) {
    host_.log("button " + name_ + " " + region.intent.identifier + (region.enabled ? " enabled " : " disabled ") +
              std::to_string(region.frame.x) + " " + std::to_string(region.frame.y) + " " +
              std::to_string(region.frame.width) + " " + std::to_string(region.frame.height));
  }
  canvas_->show(std::move(tree),
                reduceMotion ? desktop::WidgetCanvas::Motion::reduce : desktop::WidgetCanvas::Motion::animate);
  scheduleRelativeRedraw(nextChange);
}

void WidgetInstance::redraw() {
  if (entry_) show(*entry_);
}

void WidgetInstance::scheduleRelativeRedraw(std::optional<Date> change) {
  relativeTimer_.reset();
  if (!change) return;
  relativeTimer_ = desktop::SourceId(g_timeout_add(
      millisecondsUntil(*change, now()),
      [](gpointer self) {
        auto* instance = static_cast<WidgetInstance*>(self);
        instance->relativeTimer_.release();
        instance->host_.log("relative-redraw " + instance->name_);
        instance->redraw();
        return G_SOURCE_REMOVE;
      },
      this));
}

void WidgetInstance::buildWindow(const std::optional<desktop::WindowPosition>& position) {
  const auto size = kit::widgetFamilySize(family_);
  window_ = gtk_application_window_new(host_.application());
  // The title names the instance, so that tools can tell widgets apart.
  const std::string title = name_ == "default" ? "Zelto Limits" : "Zelto Limits: " + name_;
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  gtk_window_set_role(GTK_WINDOW(window_), ("widget-" + name_).c_str());
  placement_ = desktop::makeWidgetWindow(GTK_WINDOW(window_), static_cast<int>(size.width),
                                         static_cast<int>(size.height), scene::widgetCornerRadius);
  canvas_ = std::make_unique<desktop::WidgetCanvas>(
      host_.textSystem(), scene::widgetCornerRadius,
      desktop::WidgetCanvas::Handlers{
          [this](const kit::IntentReference& intent) {
            host_.log("intent " + intent.identifier);
            auto environment = environment_;
            environment.now = now();
            host_.runIntent(intent.identifier, environment, container_);
          },
          [this](const GdkEvent* event) { openContextMenu(event); },
          [this](const desktop::DrawnFrame& frame) {
            if (trimAfterFrame_ && !frame.animating && !trimTimer_) {
              trimAfterFrame_ = false;
              trimTimer_ = desktop::SourceId(g_idle_add_full(
                  G_PRIORITY_LOW,
                  [](gpointer self) {
                    static_cast<WidgetInstance*>(self)->trimTimer_.release();
                    malloc_trim(0);
                    return G_SOURCE_REMOVE;
                  },
                  this, nullptr));
            }
            host_.log("frame " + name_ + " " +
                      std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(frame.drawing).count()) +
                      (frame.animating ? " animating" : ""));
          }});
  gtk_widget_set_size_request(canvas_->widget(), static_cast<int>(size.width), static_cast<int>(size.height));
  gtk_container_add(GTK_CONTAINER(window_), canvas_->widget());
  desktop::placeWidgetWindow(GTK_WINDOW(window_), placement_, position.value_or(firstPosition));
  g_signal_connect(window_, "configure-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                     auto* instance = static_cast<WidgetInstance*>(self);
                     instance->saveTimer_ = desktop::SourceId(g_timeout_add(
                         saveDelayMilliseconds,
                         [](gpointer data) {
                           auto* widget = static_cast<WidgetInstance*>(data);
                           widget->saveTimer_.release();
                           widget->rememberSettings();
                           return G_SOURCE_REMOVE;
                         },
                         self));
                     return FALSE;
                   }),
                   this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                     auto* instance = static_cast<WidgetInstance*>(self);
                     instance->host_.closeWidget(instance);
                     return TRUE;
                   }),
                   this);
  gtk_widget_show_all(window_);
  host_.log("window " + name_ + " " + std::string(desktop::placementName(placement_)) + " " +
            std::to_string(static_cast<int>(size.width)) + "x" + std::to_string(static_cast<int>(size.height)));
}

void WidgetInstance::setFamily(kit::WidgetFamily family) {
  if (family == family_) return;
  const auto position = desktop::widgetWindowPosition(GTK_WINDOW(window_), placement_);
  family_ = family;
  g_signal_handlers_disconnect_by_data(window_, this);
  gtk_widget_destroy(std::exchange(window_, nullptr));
  canvas_.reset();
  menu_.reset();
  buildWindow(position);
  rememberSettings();
  // The entry is asked for again: the provider answers for the new family.
  reload();
}

void WidgetInstance::requestFamily(kit::WidgetFamily family) {
  // The window (and the menu that asks) is rebuilt once the menu has closed.
  pendingFamily_ = family;
  familyTimer_ = desktop::SourceId(g_idle_add(
      [](gpointer self) {
        auto* instance = static_cast<WidgetInstance*>(self);
        instance->familyTimer_.release();
        instance->setFamily(instance->pendingFamily_);
        return G_SOURCE_REMOVE;
      },
      this));
}

void WidgetInstance::rememberSettings() {
  if (window_ == nullptr) return;
  const InstanceSettings settings{family_, desktop::widgetWindowPosition(GTK_WINDOW(window_), placement_)};
  host_.settings().save(name_, settings);
}

void WidgetInstance::openContextMenu(const GdkEvent* event) {
  if (!menu_) {
    GtkWidget* menu = gtk_menu_new();
    g_object_ref_sink(menu);
    gtk_menu_attach_to_widget(GTK_MENU(menu), canvas_->widget(), nullptr);
    const auto addItem = [&](const char* label, auto action) {
      GtkWidget* item = gtk_menu_item_new_with_label(label);
      g_signal_connect(item, "activate", G_CALLBACK(+action), this);
      gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    };
    addItem("Small", [](GtkMenuItem*, gpointer self) {
      static_cast<WidgetInstance*>(self)->requestFamily(kit::WidgetFamily::systemSmall);
    });
    addItem("Medium", [](GtkMenuItem*, gpointer self) {
      static_cast<WidgetInstance*>(self)->requestFamily(kit::WidgetFamily::systemMedium);
    });
    addItem("Large", [](GtkMenuItem*, gpointer self) {
      static_cast<WidgetInstance*>(self)->requestFamily(kit::WidgetFamily::systemLarge);
    });
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
    addItem("Reload", [](GtkMenuItem*, gpointer self) { static_cast<WidgetInstance*>(self)->reload(); });
    addItem("Gallery", [](GtkMenuItem*, gpointer self) {
      auto* instance = static_cast<WidgetInstance*>(self);
      RequestOptions options;
      options.directory = instance->container_.location.directory.string();
      options.suiteName = instance->container_.suiteName;
      instance->host_.openGallery(options);
    });
    addItem("About", [](GtkMenuItem*, gpointer self) {
      gtk_show_about_dialog(static_cast<WidgetInstance*>(self)->window(), "program-name", "Zelto Limits", "comments",
                            std::string(ZeltoLimitsWidget::description).c_str(), nullptr);
    });
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
    addItem("Quit", [](GtkMenuItem*, gpointer self) {
      g_application_quit(G_APPLICATION(static_cast<WidgetInstance*>(self)->host_.application()));
    });
    gtk_widget_show_all(menu);
    menu_.reset(menu);
  }
  // The menu's items act on this widget; a family change rebuilds the menu.
  gtk_menu_popup_at_pointer(GTK_MENU(menu_.get()), event);
}

}  // namespace zelto::cli
