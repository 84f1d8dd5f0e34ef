zelto_test(zelto_defaults_command_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DefaultsCommandTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DefaultsSnapshotCheckTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DefaultsValueTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DefaultsProgramTest.cpp
  LIBS zelto_defaults_command zelto_defaults)
# The end-to-end tests run the real program.
add_dependencies(zelto_defaults_command_tests zelto-limits-defaults)
target_compile_definitions(zelto_defaults_command_tests PRIVATE
  ZELTO_DEFAULTS_PROGRAM="$<TARGET_FILE:zelto-limits-defaults>")
