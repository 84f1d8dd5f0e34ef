# Costs of the renderer: text measurement with and without its layout cache,
# whole compositions drawn at 3x with and without their glows, and a dithered
# backdrop's first drawing beside Cairo's plain gradient.
if(TARGET zelto_render)
  add_executable(zelto_bench_render ${CMAKE_CURRENT_LIST_DIR}/RenderBench.cpp)
  target_link_libraries(zelto_bench_render PRIVATE zelto_render PkgConfig::PANGO benchmark::benchmark)
  zelto_target_settings(zelto_bench_render)
endif()
