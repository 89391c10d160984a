# The session report of two full memories: the document of one set and of
# both, and the "Save Report" button with its file.
add_executable(bench_session_report ${CMAKE_CURRENT_LIST_DIR}/session_report_bench.cpp)
target_link_libraries(bench_session_report PRIVATE kv_plot_window kv_session_report kv_bench_window_support)
