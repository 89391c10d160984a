# The lap analysis tools on a full generated memory: time slip, sector table,
# per-lap statistics and histograms.
add_executable(bench_lap_tools lap_tools_bench.cpp)
target_link_libraries(bench_lap_tools PRIVATE kv_lap_tools kv_emulator benchmark::benchmark
  benchmark::benchmark_main)
