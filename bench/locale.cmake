# Calendar and formatting costs of the locale adapter, beside bare ICU.
if(TARGET zelto_locale)
  add_executable(zelto_calendar_bench ${CMAKE_CURRENT_LIST_DIR}/CalendarBench.cpp)
  target_link_libraries(zelto_calendar_bench PRIVATE zelto_locale PkgConfig::ICU benchmark::benchmark)
  zelto_target_settings(zelto_calendar_bench)
endif()
