# Chart speed with the plot window's worst case: two datasets of eleven
# channels of 60,000 samples, the second dotted.
add_executable(chart_bench ${CMAKE_CURRENT_LIST_DIR}/chart_bench.cpp)
target_link_libraries(chart_bench PRIVATE kv_chart kv_chart_demo_data benchmark::benchmark)
