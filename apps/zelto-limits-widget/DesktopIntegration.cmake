# The status line and autostart subcommands.
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0 gio-unix-2.0)

# The autostart entry has one source, the template in dist/, built into the
# program so that `autostart on` writes the same entry that is installed.
set(ZELTO_AUTOSTART_SOURCE ${PROJECT_SOURCE_DIR}/dist/zelto-limits-autostart.desktop.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZELTO_AUTOSTART_SOURCE})
file(READ ${ZELTO_AUTOSTART_SOURCE} ZELTO_AUTOSTART_TEMPLATE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/AutostartTemplate.hpp.in
  ${PROJECT_BINARY_DIR}/generated/apps/zelto-limits-widget/AutostartTemplate.hpp @ONLY)

zelto_library(zelto_widget_integration
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/StatusLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatusCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AutostartCommand.cpp
  LIBS zelto_widget_cli CLI11::CLI11
  PRIVATE_LIBS PkgConfig::GIO zelto_runtime zelto_visuals)
target_include_directories(zelto_widget_integration PRIVATE ${PROJECT_BINARY_DIR}/generated)
target_link_libraries(zelto-limits-widget PRIVATE zelto_widget_integration)
