# Cost of one suite access (open, read or write, close) beside a connection
# kept open and a plain file read.
add_executable(zelto_bench_suite ${CMAKE_CURRENT_LIST_DIR}/SuiteBench.cpp)
target_link_libraries(zelto_bench_suite PRIVATE zelto_defaults SQLite::SQLite3 benchmark::benchmark)
zelto_target_settings(zelto_bench_suite)
