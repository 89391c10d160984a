# The plot window's unit switches with two full memories.
add_executable(bench_plot_files ${CMAKE_CURRENT_LIST_DIR}/plot_files_bench.cpp)
target_link_libraries(bench_plot_files PRIVATE kv_plot_files kv_generated_download benchmark::benchmark)
