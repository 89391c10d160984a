# The session library: importing full-memory logs, archiving a download,
# opening, filtering and sorting 10,000 rows.
add_executable(bench_library library_bench.cpp)
target_link_libraries(bench_library PRIVATE kv_library kv_generated_download benchmark::benchmark benchmark::benchmark_main)
target_sources(bench_library PRIVATE library_bench_support.cpp)
# Both library benchmarks open the same generated library.
target_sources(bench_library_window PRIVATE library_bench_support.cpp)
