zelto_test(zelto_widget_cli_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetCliTest.cpp
  LIBS zelto_widget_cli zelto_defaults)
zelto_test(zelto_widget_render_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RenderCommandTest.cpp
  LIBS zelto_widget_render_cli zelto_defaults)
