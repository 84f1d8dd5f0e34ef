# What `cmake --install build [--prefix DIR]` puts on the machine: both
# programs, the desktop entry, the icon, the autostart entry (a template that
# `zelto-limits-widget autostart on` writes for the user; autostart stays off
# until then), the systemd user unit and a man page for each program. The
# translations are installed with their catalogues (po/).
include(GNUInstallDirs)

set(ZELTO_DIST_DIR ${PROJECT_BINARY_DIR}/dist)
set(ZELTO_SYSTEMD_USER_UNIT_DIR "${CMAKE_INSTALL_DATADIR}/systemd/user"
    CACHE STRING "Where the systemd user unit goes, relative to the prefix (systemd reads share/systemd/user under every data folder)")

# 1. The icon: the account glyph, drawn at build time by the widget's own
# renderer.
add_executable(zelto-limits-icon ${PROJECT_SOURCE_DIR}/dist/IconGenerator.cpp)
target_link_libraries(zelto-limits-icon PRIVATE zelto_visuals zelto_render)
zelto_target_settings(zelto-limits-icon)
set(ZELTO_ICON ${ZELTO_DIST_DIR}/zelto-limits.svg)
# Programs of this build run at build time under the same leak suppressions
# as the tests (system libraries keep process-lifetime caches).
set(ZELTO_RUN_BUILT_PROGRAM ${CMAKE_COMMAND} -E env
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer-suppressions.txt:print_suppressions=0")

add_custom_command(OUTPUT ${ZELTO_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELTO_DIST_DIR}
  COMMAND ${ZELTO_RUN_BUILT_PROGRAM} $<TARGET_FILE:zelto-limits-icon> ${ZELTO_ICON}
  DEPENDS zelto-limits-icon
  COMMENT "Drawing the icon")

# 2. Man pages, made by help2man from the help text the programs print.
find_program(ZELTO_HELP2MAN help2man)
set(ZELTO_MAN_PAGES)
if(ZELTO_HELP2MAN)
  set(ZELTO_MAN_NAME_zelto-limits-widget "the Zelto Limits desktop widget and its command line")
  set(ZELTO_MAN_NAME_zelto-limits-defaults "read and write the shared suite of Zelto Limits")
  foreach(program zelto-limits-widget zelto-limits-defaults)
    set(page ${ZELTO_DIST_DIR}/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELTO_DIST_DIR}
      COMMAND ${ZELTO_RUN_BUILT_PROGRAM} ${ZELTO_HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
              "--name=${ZELTO_MAN_NAME_${program}}" --output=${page} $<TARGET_FILE:${program}>
      DEPENDS ${program}
      COMMENT "Writing the man page of ${program}")
    list(APPEND ZELTO_MAN_PAGES ${page})
  endforeach()
else()
  message(WARNING "help2man not found: no man pages are built or installed (scripts/setup installs it)")
endif()

add_custom_target(zelto_dist ALL DEPENDS ${ZELTO_ICON} ${ZELTO_MAN_PAGES})

install(TARGETS zelto-limits-widget zelto-limits-defaults RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZELTO_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
if(ZELTO_MAN_PAGES)
  install(FILES ${ZELTO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# 3. The entries name the installed program by its absolute path, which is
# known only at install time (--prefix may differ from the configured one).
install(CODE "
  set(ZELTO_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(ZELTO_STAGING_DIR \"${ZELTO_DIST_DIR}/staging\")
  set(ZELTO_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(ZELTO_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(ZELTO_SYSTEMD_USER_UNIT_DIR \"${ZELTO_SYSTEMD_USER_UNIT_DIR}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallEntries.cmake\")
")
