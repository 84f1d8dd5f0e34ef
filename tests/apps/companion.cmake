# The demo companion, the suite as written by other programs, and the
# status line; the end-to-end cases run the real programs.
zelto_test(zelto_companion_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DemoCompanionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CompanionInterfaceTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatusLineTest.cpp
  LIBS zelto_defaults_command zelto_defaults zelto_model zelto_widget_integration zelto_widget_scene zelto_render)
add_dependencies(zelto_companion_tests zelto-limits-defaults zelto-limits-widget)
target_compile_definitions(zelto_companion_tests PRIVATE
  ZELTO_DEFAULTS_PROGRAM="$<TARGET_FILE:zelto-limits-defaults>"
  ZELTO_WIDGET_PROGRAM="$<TARGET_FILE:zelto-limits-widget>")

# Installs the build tree into a temporary prefix: it needs the whole build.
zelto_test(zelto_install_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/InstallTest.cpp
  LIBS)
target_include_directories(zelto_install_tests PRIVATE ${PROJECT_SOURCE_DIR})
add_dependencies(zelto_install_tests zelto-limits-defaults zelto-limits-widget zelto_dist)
target_compile_definitions(zelto_install_tests PRIVATE
  ZELTO_WIDGET_PROGRAM="$<TARGET_FILE:zelto-limits-widget>"
  ZELTO_CMAKE_COMMAND="${CMAKE_COMMAND}"
  ZELTO_BINARY_DIR="${PROJECT_BINARY_DIR}")
