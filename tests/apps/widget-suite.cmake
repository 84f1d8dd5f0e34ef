# Where the widget's suite lives, and the widget's command line when the
# suite is busy or belongs to another program.
zelto_test(zelto_widget_suite_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetSuiteTest.cpp
  LIBS zelto_widget_cli zelto_defaults)
add_dependencies(zelto_widget_suite_tests zelto-limits-widget)
target_compile_definitions(zelto_widget_suite_tests PRIVATE
  ZELTO_WIDGET_PROGRAM="$<TARGET_FILE:zelto-limits-widget>")
