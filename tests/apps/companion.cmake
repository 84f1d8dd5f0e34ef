# The demo companion, the suite as written by other programs, and the
# status line; the end-to-end cases run the real programs.
zelto_test(zelto_companion_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DemoCompanionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CompanionInterfaceTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatusLineTest.cpp
  LIBS zelto_defaults_command zelto_defaults zelto_model zelto_widget_integration)
add_dependencies(zelto_companion_tests zelto-limits-defaults zelto-limits-widget)
target_compile_definitions(zelto_companion_tests PRIVATE
  ZELTO_DEFAULTS_PROGRAM="$<TARGET_FILE:zelto-limits-defaults>"
  ZELTO_WIDGET_PROGRAM="$<TARGET_FILE:zelto-limits-widget>")
