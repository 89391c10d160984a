# The plot window with two full memories: re-plots, a colour change, the
# first picture after showing, and a pan frame.
add_executable(bench_plot_window ${CMAKE_CURRENT_LIST_DIR}/analysis_plot_bench.cpp)
target_link_libraries(bench_plot_window PRIVATE kv_plot_window kv_emulator benchmark::benchmark)
