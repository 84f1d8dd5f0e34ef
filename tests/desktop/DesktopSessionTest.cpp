// The desktop host as a user meets it: a real X server (Xvfb) and a private
// session bus, both started here; the host program runs as a child process
// and reports what it does in its diagnostic log.

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <sstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop/WidgetCanvas.hpp"
#include "platform/kit/Kit.hpp"
#include "tests/desktop/HostProcess.hpp"

namespace {

using namespace zelto::testing;

// Xvfb for the whole run, and GDK connected to it for screenshots.
class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    pid_ = spawn({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    ::close(pipe[1]);
    char number[16] = {};
    ASSERT_GT(::read(pipe[0], number, sizeof number - 1), 0) << "Xvfb did not start";
    ::close(pipe[0]);
    setenv("DISPLAY", (":" + std::to_string(std::stoi(number))).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
  }
  void TearDown() override {
    if (pid_ > 0) ::kill(pid_, SIGTERM), exitStatusWithin(pid_, 5s);
  }

 private:
  pid_t pid_ = -1;
};
const auto* const xServer = ::testing::AddGlobalTestEnvironment(new XServer);

// The host on the X server, with where its windows are and what they show.
class Host : public zelto::testing::HostProcess {
 public:
  using HostProcess::HostProcess;

  // Where the window of `instance` is on screen, and its size.
  GdkRectangle window(const std::string& instance = "default") const {
    std::string output;
    gchar* text = nullptr;
    const std::string title = instance == "default" ? "^Zelto Limits$" : "^Zelto Limits: " + instance + "$";
    const std::string command = "xdotool search --sync --name '" + title + "' getwindowgeometry --shell";
    if (g_spawn_command_line_sync(command.c_str(), &text, nullptr, nullptr, nullptr) && text != nullptr) output = text;
    g_free(text);
    GdkRectangle frame{};
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
      const auto value = [&] { return std::stoi(line.substr(line.find('=') + 1)); };
      if (line.rfind("X=", 0) == 0) frame.x = value();
      if (line.rfind("Y=", 0) == 0) frame.y = value();
      if (line.rfind("WIDTH=", 0) == 0) frame.width = value();
      if (line.rfind("HEIGHT=", 0) == 0) frame.height = value();
    }
    return frame;
  }
  // The pixels of the screen in `area` (x and y relative to the window).
  std::string pixels(GdkRectangle area) const {
    const auto origin = window();
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), origin.x + area.x, origin.y + area.y,
                                                 area.width, area.height);
    if (shot == nullptr) {
      ADD_FAILURE() << "no screenshot of " << area.width << "x" << area.height << " at the window";
      return {};
    }
    std::string bytes(reinterpret_cast<const char*>(gdk_pixbuf_read_pixels(shot)), gdk_pixbuf_get_byte_length(shot));
    g_object_unref(shot);
    return bytes;
  }
  std::string pixels() const {
    const auto frame = window();
    return pixels({0, 0, frame.width, frame.height});
  }
};

std::int64_t realMicroseconds() { return g_get_real_time(); }

TEST(DesktopHost, WindowsTakeTheirFamilySizeAndLaterStartsHandOver) {
  Host host("large");
  host.start();
  const struct {
    const char* instance;
    const char* family;
    int width, height;
  } cases[] = {{"default", "large", 364, 382}, {"s", "small", 170, 170}, {"m", "medium", 364, 170}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.instance);
    // The first start opened "default"; later ones hand their request over and end.
    if (std::string(c.instance) != "default") {
      EXPECT_EQ(host.run({"show", "--instance", c.instance, "--family", c.family}), 0);
    }
    ASSERT_TRUE(eventually([&] { return host.window(c.instance).width > 0; }));
    EXPECT_EQ(host.window(c.instance).width, c.width);
    EXPECT_EQ(host.window(c.instance).height, c.height);
  }
}

TEST(DesktopHost, DraggingOutsideButtonsMovesTheWidgetAndTheNextStartRestoresIt) {
  auto host = std::make_unique<Host>("small");
  host->start();
  const auto before = host->window();
  const auto x = std::to_string(before.x + 100);
  const auto y = std::to_string(before.y + 100);
  const auto drag = "xdotool mousemove " + x + " " + y + " mousedown 1 mousemove_relative 30 20 sleep 0.1 " +
                    "mousemove_relative 30 20 sleep 0.1 mouseup 1";
  ASSERT_TRUE(g_spawn_command_line_sync(drag.c_str(), nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(eventually([&] { return host->window().x == before.x + 60 && host->window().y == before.y + 40; }));
  // The position is written down once the move has settled.
  std::this_thread::sleep_for(700ms);
  host->restart();
  EXPECT_EQ(host->window().x, before.x + 60);
  EXPECT_EQ(host->window().y, before.y + 40);
}

TEST(DesktopHost, ASuiteWriteIsOnScreenWithin200Milliseconds) {
  Host host("medium");
  host.start();
  const auto waiting = host.pixels();
  const auto written = realMicroseconds();
  host.suite().setData(dashboardKey, threeWeeks);
  // The first frame drawn after the host saw the change (frames of a
  // transition still running from start-up do not count).
  const auto firstAfter = [&](const std::string& prefix, std::int64_t since) -> std::optional<std::int64_t> {
    for (const auto& [time, line] : host.lines(prefix)) {
      if (time >= since) return time;
    }
    return std::nullopt;
  };
  std::optional<std::int64_t> frame;
  ASSERT_TRUE(eventually([&] {
    const auto seen = firstAfter("suite-changed", written);
    return seen && (frame = firstAfter("frame", *seen));
  }, 2s)) << host.log();
  EXPECT_LT(*frame - written, 200'000);
  EXPECT_TRUE(eventually([&] { return host.pixels() != waiting; }, 1s));
}

TEST(DesktopHost, PressingThePreviousWeekButtonStoresTheOffsetAndRedrawsTheWeek) {
  // A click at the button's hit region, or Tab to the first button and Space.
  const std::function<std::string(const GdkRectangle& window, double x, double y)> presses[] = {
      [](const GdkRectangle& window, double x, double y) {
        return "xdotool mousemove " + std::to_string(window.x + static_cast<int>(x)) + " " +
               std::to_string(window.y + static_cast<int>(y)) + " click 1";
      },
      [](const GdkRectangle&, double, double) {
        return std::string("xdotool search --name '^Zelto Limits$' windowfocus --sync key --window %1 Tab space");
      },
  };
  for (const auto& press : presses) {
    Host host("large", threeWeeks);
    host.start();
    const auto enabled = [&] { return host.lines("button default PreviousUsageWeekIntent enabled"); };
    ASSERT_TRUE(eventually([&] { return !enabled().empty(); }));
    std::istringstream region(enabled().back().second);
    std::string word;
    double x = 0, y = 0, width = 0, height = 0;
    for (int skip = 0; skip < 4; ++skip) region >> word;
    region >> x >> y >> width >> height;
    // The week label lies between the two buttons.
    const GdkRectangle label{static_cast<int>(x + width), static_cast<int>(y), 60, static_cast<int>(height)};
    const auto before = host.pixels(label);
    const auto command = press(host.window(), x + width / 2, y + height / 2);
    SCOPED_TRACE(command);
    ASSERT_TRUE(g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(eventually([&] { return host.suite().integer(offsetKey) == -1; }));
    EXPECT_TRUE(eventually([&] { return host.pixels(label) != before; }));
  }
}

TEST(DesktopHost, ReloadOverTheSessionBusAsksForATimeline) {
  Host host("small");
  host.start();
  const auto timelines = host.count("timeline");
  EXPECT_EQ(host.run({"reload"}), 0);
  EXPECT_TRUE(eventually([&] { return host.count("timeline") > timelines; }, 2s));
}

TEST(DesktopHost, RelativeTextsRedrawAtTheirChangeAndNothingElseDoes) {
  Host host("small", threeWeeks);
  host.start();
  // "1 hr, 1 min" turns into "1 hr" 1.5 s after the clock starts.
  const auto text = host.pixels();
  const auto frames = host.count("frame");
  ASSERT_TRUE(eventually([&] { return host.count("relative-redraw") > 0; }, 4s));
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(host.count("relative-redraw"), 1u);
  EXPECT_EQ(host.count("frame"), frames + 1);
  EXPECT_NE(host.pixels(), text);
}

TEST(DesktopHost, SurvivesTheSuiteBeingDeletedReplacedByGarbageAndRestored) {
  Host host("medium", threeWeeks);
  host.start();
  const auto shown = host.pixels();
  const auto path = host.suite().path();
  const std::function<void()> steps[] = {
      [&] { std::filesystem::remove(path); },
      [&] { std::ofstream(path, std::ios::binary | std::ios::trunc) << "garbage, not a database\x01\x02"; },
      [&] {
        std::filesystem::remove(path);
        host.suite().setData(dashboardKey, threeWeeks);
      },
  };
  for (const auto& step : steps) {
    const auto timelines = host.count("timeline");
    step();
    ASSERT_TRUE(eventually([&] { return host.count("timeline") > timelines; }, 2s)) << host.log();
    ASSERT_TRUE(host.running());
  }
  EXPECT_TRUE(eventually([&] { return host.pixels() == shown; }, 2s));
}

// A desktop notification service (org.freedesktop.Notifications) on the
// session bus, answering from its own thread and recording each Notify as
// "summary | body | actions".
class FakeNotificationService {
 public:
  FakeNotificationService() : context_(g_main_context_new()), loop_(g_main_loop_new(context_, FALSE)) {
    std::promise<bool> owned;
    auto ready = owned.get_future();
    thread_ = std::thread([this, &owned] {
      g_main_context_push_thread_default(context_);
      // A connection of its own, so that its calls are answered on this thread.
      gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
      GDBusConnection* bus =
          g_dbus_connection_new_for_address_sync(address,
                                                 GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                                      G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                                                 nullptr, nullptr, nullptr);
      g_free(address);
      bus_ = bus;
      GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
          R"(<node><interface name="org.freedesktop.Notifications"><method name="Notify"><arg type="s"/><arg type="u"/>
          <arg type="s"/><arg type="s"/><arg type="s"/><arg type="as"/><arg type="a{sv}"/><arg type="i"/>
          <arg type="u" direction="out"/></method></interface></node>)",
          nullptr);
      const GDBusInterfaceVTable table{&FakeNotificationService::notify, nullptr, nullptr, {}};
      GVariant* reply = g_dbus_connection_register_object(bus, "/org/freedesktop/Notifications", node->interfaces[0],
                                                          &table, this, nullptr, nullptr) > 0
                            ? g_dbus_connection_call_sync(
                                  bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "RequestName", g_variant_new("(su)", "org.freedesktop.Notifications", 4u),
                                  G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr)
                            : nullptr;
      guint answer = 0;  // 1: the primary owner
      if (reply != nullptr) g_variant_get(reply, "(u)", &answer), g_variant_unref(reply);
      owned.set_value(answer == 1);
      if (answer == 1) g_main_loop_run(loop_);
      g_dbus_node_info_unref(node);
      g_dbus_connection_close_sync(bus, nullptr, nullptr);
      g_object_unref(bus);
      g_main_context_pop_thread_default(context_);
    });
    EXPECT_TRUE(ready.get()) << "could not own org.freedesktop.Notifications";
  }
  ~FakeNotificationService() {
    g_main_context_invoke(context_, G_SOURCE_FUNC(+[](gpointer loop) -> gboolean {
                            g_main_loop_quit(static_cast<GMainLoop*>(loop));
                            return G_SOURCE_REMOVE;
                          }),
                          loop_);
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
  }
  std::vector<std::string> calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
  }
  // The user clicks notification `id` (its default action).
  void click(guint id) const {
    g_dbus_connection_emit_signal(bus_, nullptr, "/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                  "ActionInvoked", g_variant_new("(us)", id, "default"), nullptr);
  }

 private:
  static void notify(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                     GDBusMethodInvocation* invocation, gpointer self) {
    auto* service = static_cast<FakeNotificationService*>(self);
    const gchar *summary = nullptr, *body = nullptr;
    GVariant* actions = nullptr;
    g_variant_get(parameters, "(&su&s&s&s@asa{sv}i)", nullptr, nullptr, nullptr, &summary, &body, &actions, nullptr,
                  nullptr);
    gchar* names = g_variant_print(actions, FALSE);
    const std::lock_guard lock(service->mutex_);
    service->calls_.push_back(std::string(summary) + " | " + body + " | " + names);
    g_free(names);
    g_variant_unref(actions);
    g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", guint(service->calls_.size())));
  }

  GMainContext* context_;
  GMainLoop* loop_;
  GDBusConnection* bus_ = nullptr;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
};

// Off until turned on; then one notification for a window at 20 %, which
// opens the gallery when clicked, and none again after a restart of the host.
TEST(DesktopHost, ALowWindowIsNotifiedOnceAndNotAgainAfterARestart) {
  setenv("GNOTIFICATION_BACKEND", "freedesktop", 1);
  const FakeNotificationService service;
  std::string lowWindow = threeWeeks;
  lowWindow.replace(lowWindow.find("\"usedPercent\": 28"), 17, "\"usedPercent\": 80");
  Host host("small", lowWindow);
  host.start();
  EXPECT_EQ(host.count("notification"), 0u);
  ASSERT_EQ(host.run({"notify", "on"}), 0);
  ASSERT_EQ(host.run({"reload"}), 0);
  ASSERT_TRUE(eventually([&] { return !service.calls().empty(); })) << host.log();
  service.click(1);
  EXPECT_TRUE(eventually([] {
    gchar* found = nullptr;
    g_spawn_command_line_sync("xdotool search --name '^Zelto Limits Gallery$'", &found, nullptr, nullptr, nullptr);
    const bool shown = found != nullptr && *found != '\0';
    g_free(found);
    return shown;
  }));
  host.restart();
  std::this_thread::sleep_for(300ms);  // time for a wrong second call to arrive
  EXPECT_EQ(host.count("notification"), 0u);
  EXPECT_EQ(service.calls(),
            std::vector<std::string>{"Personal · 5-hour | 20% left · resets in 1 hr, 1 min | ['default', '']"});
}

TEST(AccessibilityBridge, ElementsAreChildrenWithNameRoleExtentsAndButtonsPress) {
  using namespace zelto::kit;
  const zelto::render::PangoTextSystem text;
  std::vector<std::string> pressed;
  zelto::desktop::WidgetCanvas canvas(
      text, 22, {[&](const IntentReference& intent) { pressed.push_back(intent.identifier); }, nullptr, nullptr});
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_container_add(GTK_CONTAINER(window), canvas.widget());
  const View content = VStack(
      {Text::verbatim("72% left"),
       HStack({Button({"back", "Back"}, Image("chevron.left").frame(16, 16)).accessibilityLabel("Previous usage week"),
               Button({"forward", "Forward"}, Image("chevron.right").frame(16, 16))
                   .disabled(true)
                   .accessibilityLabel("Next usage week")})});
  const auto tree = layout(content, ProposedSize{200, 100}, Environment{}, text);
  const auto elements = accessibilityElements(tree);
  canvas.show(tree, zelto::desktop::WidgetCanvas::Motion::reduce);
  gtk_widget_show_all(window);
  ASSERT_TRUE(eventually([&] { return gtk_widget_get_mapped(canvas.widget()) == TRUE; }, 2s));

  const struct {
    const char* name;
    AtkRole role;
    int actions;
  } expected[] = {{"72% left", ATK_ROLE_LABEL, 0},
                  {"Previous usage week", ATK_ROLE_PUSH_BUTTON, 1},
                  {"Next usage week", ATK_ROLE_PUSH_BUTTON, 0}};
  AtkObject* accessible = gtk_widget_get_accessible(canvas.widget());
  ASSERT_EQ(atk_object_get_n_accessible_children(accessible), 3);
  ASSERT_EQ(elements.size(), 3u);
  for (int index = 0; index < 3; ++index) {
    SCOPED_TRACE(expected[index].name);
    AtkObject* child = atk_object_ref_accessible_child(accessible, index);
    EXPECT_STREQ(atk_object_get_name(child), expected[index].name);
    EXPECT_EQ(atk_object_get_role(child), expected[index].role);
    gint x = 0, y = 0, width = 0, height = 0;
    atk_component_get_extents(ATK_COMPONENT(child), &x, &y, &width, &height, ATK_XY_WINDOW);
    EXPECT_EQ(x, static_cast<int>(elements[index].frame.x));
    EXPECT_EQ(y, static_cast<int>(elements[index].frame.y));
    EXPECT_EQ(width, static_cast<int>(elements[index].frame.width + 0.5));
    EXPECT_GT(height, 0);
    EXPECT_EQ(atk_action_get_n_actions(ATK_ACTION(child)), expected[index].actions);
    atk_action_do_action(ATK_ACTION(child), 0);
    g_object_unref(child);
  }
  // Only the enabled button ran its intent.
  EXPECT_EQ(pressed, std::vector<std::string>{"back"});
  gtk_widget_destroy(window);
}

}  // namespace
