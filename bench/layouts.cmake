# One frame of the real widget per family at 2x, warm and cold, and layout
# of the large widget alone.
if(TARGET zelto_widget_render_cli)
  add_executable(zelto_bench_widget_scene ${CMAKE_CURRENT_LIST_DIR}/WidgetSceneBench.cpp)
  target_link_libraries(zelto_bench_widget_scene PRIVATE zelto_widget_render_cli zelto_defaults benchmark::benchmark)
  zelto_target_settings(zelto_bench_widget_scene)
endif()
