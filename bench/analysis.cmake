# Full memories and a Qt main for the benchmarks of the plot window.
add_library(kv_bench_window_support STATIC ${CMAKE_CURRENT_LIST_DIR}/plot_window_bench_support.h
  ${CMAKE_CURRENT_LIST_DIR}/plot_window_bench_support.cpp)
target_include_directories(kv_bench_window_support PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kv_bench_window_support PUBLIC kv_plot_window kv_generated_download benchmark::benchmark)

# The plot window with two full memories: re-plots, a colour change, the
# first picture after showing, and a pan frame.
add_executable(bench_plot_window ${CMAKE_CURRENT_LIST_DIR}/analysis_plot_bench.cpp)
target_link_libraries(bench_plot_window PRIVATE kv_plot_window kv_bench_window_support)

# A Lap Overlay of eight laps from two full memories: re-plots, a pointer
# move with every lap's read-out, the markers' per-lap values.
add_executable(bench_overlay_laps ${CMAKE_CURRENT_LIST_DIR}/overlay_laps_bench.cpp)
target_link_libraries(bench_overlay_laps PRIVATE kv_plot_window kv_bench_window_support)
