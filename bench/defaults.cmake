# Costs of the shared suite: warm reads through the kept connection, a cold
# read in a fresh process, and the write-ahead log beside a rollback journal,
# each beside its baseline.
add_executable(zelto_bench_suite ${CMAKE_CURRENT_LIST_DIR}/SuiteBench.cpp)
target_link_libraries(zelto_bench_suite PRIVATE zelto_defaults SQLite::SQLite3 benchmark::benchmark)
zelto_target_settings(zelto_bench_suite)
