# The desktop host as a process on its own X server and session bus, beside
# a bare GTK 3 window: start to first frame, memory, suite write to frame,
# the week animation's frames at 2x, and 60 s idle. Needs Xvfb and
# dbus-run-session when run; not part of the tests.
if(TARGET zelto-limits-widget AND TARGET PkgConfig::GTK3)
  add_executable(zelto_bench_host_window ${CMAKE_CURRENT_LIST_DIR}/HostBenchWindow.cpp)
  target_link_libraries(zelto_bench_host_window PRIVATE PkgConfig::GTK3)
  zelto_target_settings(zelto_bench_host_window)
  add_executable(zelto_bench_host ${CMAKE_CURRENT_LIST_DIR}/HostBench.cpp)
  target_link_libraries(zelto_bench_host PRIVATE zelto_model zelto_defaults benchmark::benchmark)
  target_compile_definitions(zelto_bench_host PRIVATE
    ZELTO_WIDGET_PROGRAM="$<TARGET_FILE:zelto-limits-widget>"
    ZELTO_BARE_WINDOW_PROGRAM="$<TARGET_FILE:zelto_bench_host_window>")
  add_dependencies(zelto_bench_host zelto-limits-widget zelto_bench_host_window)
  zelto_target_settings(zelto_bench_host)
endif()
