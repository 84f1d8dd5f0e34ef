# Costs of the view kit's build, layout and paint phases on a hand-made
# composition, with a near-free text system beside Pango's warm cache (when
# the renderer is built).
if(TARGET zelto_kit)
  add_executable(zelto_bench_kit ${CMAKE_CURRENT_LIST_DIR}/KitBench.cpp)
  target_link_libraries(zelto_bench_kit PRIVATE zelto_kit benchmark::benchmark)
  if(TARGET zelto_render)
    target_link_libraries(zelto_bench_kit PRIVATE zelto_render)
    target_compile_definitions(zelto_bench_kit PRIVATE ZELTO_BENCH_WITH_PANGO)
  endif()
  zelto_target_settings(zelto_bench_kit)
endif()
