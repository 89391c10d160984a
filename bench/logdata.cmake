# Decode, log file save and load, and CSV export of a full generated memory.
add_executable(bench_logdata logdata_bench.cpp)
target_link_libraries(bench_logdata PRIVATE kv_generated_download benchmark::benchmark benchmark::benchmark_main)
