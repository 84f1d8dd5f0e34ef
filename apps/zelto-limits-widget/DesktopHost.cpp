#include "apps/zelto-limits-widget/DesktopHost.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "apps/zelto-limits-widget/GalleryWindow.hpp"
#include "apps/zelto-limits-widget/NotificationPlan.hpp"
#include "apps/zelto-limits-widget/WidgetInstance.hpp"
#include "platform/desktop/GObjectPointer.hpp"
#include "widget/browsing/UsageWeekIntents.hpp"
#include "widget/runtime/ZeltoLimitsWidget.hpp"

namespace zelto::cli {

namespace {

// Requests handed from a second start to the running host, as
// "open-widget" and "open-gallery" action parameters (a{ss}).
GVariant* requestVariant(const RequestOptions& options, const ShowRequest* show) {
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE("a{ss}"));
  const auto add = [&](const char* key, const std::optional<std::string>& value) {
    if (value) g_variant_builder_add(&builder, "{ss}", key, value->c_str());
  };
  add("dir", options.directory);
  add("suite", options.suiteName);
  add("now", options.now);
  add("time-zone", options.timeZone);
  add("locale", options.localeName);
  if (options.firstWeekday) add("first-weekday", std::to_string(*options.firstWeekday));
  if (show != nullptr) {
    add("instance", show->instance);
    if (show->family) add("family", std::string(kit::widgetFamilyName(*show->family)));
    if (show->reduceMotion) add("reduce-motion", "1");
  }
  return g_variant_builder_end(&builder);
}

ShowRequest requestFromVariant(GVariant* parameter) {
  ShowRequest request;
  GVariantIter iterator;
  g_variant_iter_init(&iterator, parameter);
  const gchar* key = nullptr;
  const gchar* value = nullptr;
  while (g_variant_iter_next(&iterator, "{&s&s}", &key, &value)) {
    const std::string name = key;
    if (name == "dir") request.options.directory = value;
    if (name == "suite") request.options.suiteName = value;
    if (name == "now") request.options.now = value;
    if (name == "time-zone") request.options.timeZone = value;
    if (name == "locale") request.options.localeName = value;
    if (name == "first-weekday") request.options.firstWeekday = std::atoi(value);
    if (name == "instance") request.instance = value;
    if (name == "family") request.family = kit::widgetFamilyNamed(value);
    if (name == "reduce-motion") request.reduceMotion = true;
  }
  return request;
}

GtkApplication* newApplication() {
  return gtk_application_new(DesktopHost::applicationId, G_APPLICATION_DEFAULT_FLAGS);
}

}  // namespace

DesktopHost::StartUp DesktopHost::beginStartUp(std::function<void(const render::PangoTextSystem&)> warmUp) {
  g_bus_get(G_BUS_TYPE_SESSION, nullptr, nullptr, nullptr);  // GApplication registers on this connection
  StartUp startUp;
  startUp.text = std::async(std::launch::async, [warmUp = std::move(warmUp)] {
    auto text = std::make_unique<render::PangoTextSystem>();
    if (warmUp) warmUp(*text);
    return text;
  });
  return startUp;
}

DesktopHost::DesktopHost(StartUp startUp)
    : textLoading_(std::move(startUp.text)), settings_(HostSettings::defaultFile(locale::processEnvironment())) {
  if (const char* path = std::getenv("ZELTO_LIMITS_HOST_LOG"); path != nullptr && *path != '\0') {
    log_ = std::fopen(path, "a");
    if (log_ != nullptr) std::setvbuf(log_, nullptr, _IOLBF, 0);
  }
  application_ = newApplication();
  // Every reload of the widget's kind, from any thread, reaches the main loop.
  widgetCenter_.observe([this](const std::string& kind) {
    if (kind == ZeltoLimitsWidget::kind)
      g_main_context_invoke(nullptr, G_SOURCE_FUNC(+[](gpointer self) -> gboolean {
                              static_cast<DesktopHost*>(self)->reloadAll();
                              return G_SOURCE_REMOVE;
                            }),
                            this);
  });
}

DesktopHost::~DesktopHost() {
  intentRuns_.clear();  // joins them
  if (textLoading_.valid()) textLoading_.wait();
  instances_.clear();
  if (gtk_settings_get_default() != nullptr) g_signal_handlers_disconnect_by_data(gtk_settings_get_default(), this);
  g_object_unref(application_);
  if (log_ != nullptr) std::fclose(log_);
}

const render::PangoTextSystem& DesktopHost::textSystem() const {
  if (!text_) text_ = textLoading_.get();
  return *text_;
}

void DesktopHost::log(const std::string& line) const {
  if (log_ == nullptr) return;
  std::fprintf(log_, "%lld %s\n", static_cast<long long>(g_get_real_time()), line.c_str());
}

bool DesktopHost::registerApplication() {
  installActions();
  g_signal_connect(application_, "activate", G_CALLBACK(+[](GApplication*, gpointer) {}), nullptr);
  GError* error = nullptr;
  if (!g_application_register(G_APPLICATION(application_), nullptr, &error)) {
    log(std::string("register-failed ") + error->message);
    g_error_free(error);
  }
  if (g_application_get_is_remote(G_APPLICATION(application_))) return false;
  // The user's text size and animation settings apply to every widget at once.
  const auto redrawAll = +[](GObject*, GParamSpec*, gpointer self) {
    for (const auto& instance : static_cast<DesktopHost*>(self)->instances_) instance->redraw();
  };
  g_signal_connect(gtk_settings_get_default(), "notify::gtk-xft-dpi", G_CALLBACK(redrawAll), this);
  g_signal_connect(gtk_settings_get_default(), "notify::gtk-enable-animations", G_CALLBACK(redrawAll), this);
  return true;
}

void DesktopHost::installActions() {
  const GActionEntry entries[] = {
      {"reload",
       +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<DesktopHost*>(self)->reloadAll(); },
       nullptr,
       nullptr,
       nullptr,
       {}},
      {"quit",
       +[](GSimpleAction*, GVariant*, gpointer self) {
         g_application_quit(G_APPLICATION(static_cast<DesktopHost*>(self)->application_));
       },
       nullptr,
       nullptr,
       nullptr,
       {}},
      {"open-widget",
       +[](GSimpleAction*, GVariant* parameter, gpointer self) {
         static_cast<DesktopHost*>(self)->openWidget(requestFromVariant(parameter));
       },
       "a{ss}",
       nullptr,
       nullptr,
       {}},
      {"open-gallery",
       +[](GSimpleAction*, GVariant* parameter, gpointer self) {
         static_cast<DesktopHost*>(self)->openGallery(requestFromVariant(parameter).options);
       },
       "a{ss}",
       nullptr,
       nullptr,
       {}},
  };
  g_action_map_add_action_entries(G_ACTION_MAP(application_), entries, G_N_ELEMENTS(entries), this);
}

int DesktopHost::show(const ShowRequest& request) {
  if (!registerApplication()) {
    g_action_group_activate_action(G_ACTION_GROUP(application_), "open-widget",
                                   requestVariant(request.options, &request));
    g_application_run(G_APPLICATION(application_), 0, nullptr);  // delivers the call, then ends
    return 0;
  }
  openWidget(request);
  if (instances_.empty()) return 2;
  g_application_hold(G_APPLICATION(application_));
  g_application_release(G_APPLICATION(application_));
  return g_application_run(G_APPLICATION(application_), 0, nullptr);
}

int DesktopHost::showGallery(const RequestOptions& options) {
  if (!registerApplication()) {
    g_action_group_activate_action(G_ACTION_GROUP(application_), "open-gallery", requestVariant(options, nullptr));
    g_application_run(G_APPLICATION(application_), 0, nullptr);
    return 0;
  }
  openGallery(options);
  return g_application_run(G_APPLICATION(application_), 0, nullptr);
}

int DesktopHost::sendAction(const char* action) {
  // The running host's actions over the session bus (org.gtk.Actions), as
  // `gapplication action` sends them; no host is started for this.
  GError* error = nullptr;
  desktop::GObjectPointer<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
  if (bus) {
    GVariant* reply = g_dbus_connection_call_sync(bus.get(), applicationId, applicationPath, "org.gtk.Actions",
                                                  "Activate", g_variant_new("(sava{sv})", action, nullptr, nullptr),
                                                  nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, &error);
    if (reply != nullptr) g_variant_unref(reply);
  }
  if (error == nullptr) return 0;
  g_printerr("zelto-limits-widget: no widget host answers on the session bus (%s)\n", error->message);
  g_error_free(error);
  return 1;
}

void DesktopHost::openWidget(const ShowRequest& request) {
  const auto open = std::find_if(instances_.begin(), instances_.end(),
                                 [&](const auto& instance) { return instance->name() == request.instance; });
  if (open != instances_.end()) {
    // A second start of an open widget brings it current (and to the asked family).
    if (request.family) (*open)->setFamily(*request.family);
    (*open)->reload();
    return;
  }
  try {
    instances_.push_back(std::make_unique<WidgetInstance>(*this, request, widgetCenter_));
  } catch (const UsageError& error) {
    g_printerr("zelto-limits-widget: %s\n", error.what());
  }
}

void DesktopHost::openGallery(const RequestOptions& options) {
  try {
    openGalleryWindow(*this, options);  // the application holds it until it is closed
  } catch (const UsageError& error) {
    g_printerr("zelto-limits-widget: %s\n", error.what());
  }
}

void DesktopHost::closeWidget(WidgetInstance* instance) {
  // The application ends with its last window.
  std::erase_if(instances_, [&](const auto& open) { return open.get() == instance; });
}

void DesktopHost::sendNotifications(const LimitEntry& entry, std::int64_t shownAccounts,
                                    const host::RequestEnvironment& environment, const RequestOptions& options) {
  if (!entry.dashboard || !settings_.notificationsEnabled()) return;
  auto sent = settings_.sentNotifications();
  const auto due = dueNotifications(*entry.dashboard, shownAccounts, environment, sent);
  if (due.empty()) return;
  for (const DueNotification& notice : due) {
    desktop::GObjectPointer<GNotification> notification(g_notification_new(notice.title.c_str()));
    g_notification_set_body(notification.get(), notice.body.c_str());
    g_notification_set_default_action_and_target_value(notification.get(), "app.open-gallery",
                                                       requestVariant(options, nullptr));
    g_application_send_notification(G_APPLICATION(application_), notice.id.c_str(), notification.get());
    log("notification " + notice.title);
    sent.insert(notice.marks.begin(), notice.marks.end());
  }
  if (!settings_.saveSentNotifications(liveMarks(sent, environment.now))) log("notification-marks-not-saved");
}

void DesktopHost::reloadAll() {
  widgetCenter_.takeRequestedReloads();
  log("reload");
  for (const auto& instance : instances_) instance->reload();
}

void DesktopHost::runIntent(const std::string& identifier, const host::RequestEnvironment& environment,
                            const SharedContainer& container) {
  std::erase_if(intentRuns_, [](const IntentRun& run) { return run.finished->load(); });
  auto finished = std::make_shared<std::atomic<bool>>(false);
  intentRuns_.push_back(IntentRun{finished, std::jthread([this, identifier, environment, container, finished] {
                                    const PreviousUsageWeekIntent previous(container);
                                    const NextUsageWeekIntent next(container);
                                    const host::AppIntent* intent = identifier == previous.identifier()
                                                                        ? static_cast<const host::AppIntent*>(&previous)
                                                                    : identifier == next.identifier() ? &next
                                                                                                      : nullptr;
                                    if (intent != nullptr)
                                      intent->perform(host::IntentContext{environment, widgetCenter_});
                                    finished->store(true);
                                  })});
}

bool DesktopHost::animationsDisabled() const {
  gboolean enabled = TRUE;
  g_object_get(gtk_settings_get_default(), "gtk-enable-animations", &enabled, nullptr);
  return enabled == FALSE;
}

double DesktopHost::textScale() const {
  gint dpi = -1;
  g_object_get(gtk_settings_get_default(), "gtk-xft-dpi", &dpi, nullptr);
  // Xft DPI in 1024ths; 96 is the unscaled desktop.
  return dpi > 0 ? static_cast<double>(dpi) / 1024 / 96 : 1;
}

}  // namespace zelto::cli
