// The floor the desktop host is measured against: a bare GTK 3 window of the
// large widget's size, which logs its frames to $ZELTO_LIMITS_HOST_LOG the way
// the host does. --label adds one label; --no-gl turns GDK's OpenGL probe off
// as the host does.

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

gboolean logFrame(GtkWidget*, cairo_t*, gpointer log) {
  std::fprintf(static_cast<std::FILE*>(log), "%lld frame bare 0\n", static_cast<long long>(g_get_real_time()));
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  bool label = false;
  for (int index = 1; index < argc; ++index) {
    if (std::strcmp(argv[index], "--label") == 0) label = true;
    if (std::strcmp(argv[index], "--no-gl") == 0) g_setenv("GDK_GL", "disable", TRUE);
  }
  gtk_init(&argc, &argv);
  const char* path = std::getenv("ZELTO_LIMITS_HOST_LOG");
  std::FILE* log = std::fopen(path != nullptr ? path : "/dev/null", "a");
  if (log == nullptr) return 1;
  std::setvbuf(log, nullptr, _IOLBF, 0);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 364, 382);
  if (label) {
    gtk_container_add(GTK_CONTAINER(window), gtk_label_new("Zelto Limits"));
  }
  g_signal_connect_after(window, "draw", G_CALLBACK(logFrame), log);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  std::fclose(log);
  return 0;
}
