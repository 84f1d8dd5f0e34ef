zelto_test(zelto_widget_cli_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetCliTest.cpp
  LIBS zelto_widget_cli zelto_defaults)
