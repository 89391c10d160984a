# The lap analysis tools on a full generated memory: time slip, sector table,
# per-lap statistics and histograms.
add_executable(bench_lap_tools lap_tools_bench.cpp)
target_link_libraries(bench_lap_tools PRIVATE kv_lap_tools kv_generated_download benchmark::benchmark
  benchmark::benchmark_main)

# The same tools in the plot window with two full memories: the refresh after
# a re-plot, a re-plot with the time slip drawn, and the slip's read-out.
add_executable(bench_lap_tools_window ${CMAKE_CURRENT_LIST_DIR}/lap_tools_window_bench.cpp)
target_link_libraries(bench_lap_tools_window PRIVATE kv_plot_window kv_bench_window_support)
