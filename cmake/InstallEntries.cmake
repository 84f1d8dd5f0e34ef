# Run by `cmake --install`: writes the desktop entry, the autostart entry
# and the user unit with the installed program's absolute path, then
# installs them (file(INSTALL) honours DESTDIR).
set(program "${CMAKE_INSTALL_PREFIX}/${ZELTO_BINDIR}/zelto-limits-widget")
if(IS_ABSOLUTE "${ZELTO_BINDIR}")
  set(program "${ZELTO_BINDIR}/zelto-limits-widget")
endif()
# Quoted as desktop entries and systemd both read it: the characters that
# stay special inside double quotes are escaped.
string(REPLACE "\\" "\\\\" quoted "${program}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" quoted "${quoted}")
endforeach()
set(command "\"${quoted}\"")

macro(zelto_install_entry template destination name)
  file(READ "${ZELTO_SOURCE_DIR}/dist/${template}" content)
  string(REPLACE "{command}" "${command}" content "${content}")
  file(MAKE_DIRECTORY "${ZELTO_STAGING_DIR}/${destination}")
  file(WRITE "${ZELTO_STAGING_DIR}/${destination}/${name}" "${content}")
  file(INSTALL "${ZELTO_STAGING_DIR}/${destination}/${name}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${destination}")
endmacro()

zelto_install_entry(zelto-limits.desktop.in "${ZELTO_DATADIR}/applications" zelto-limits.desktop)
# Not in an autostart folder: `zelto-limits-widget autostart on` writes the
# same entry into the user's own.
zelto_install_entry(zelto-limits-autostart.desktop.in "${ZELTO_DATADIR}/zelto-limits/autostart" zelto-limits.desktop)
zelto_install_entry(zelto-limits-widget.service.in "${ZELTO_SYSTEMD_USER_UNIT_DIR}" zelto-limits-widget.service)
