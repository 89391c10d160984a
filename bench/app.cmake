add_executable(bench_window_download app_download_bench.cpp)
target_link_libraries(bench_window_download PRIVATE kv_download_window kv_test_emulator benchmark::benchmark)

# The session library: the archive write after a download, and the library
# window over 10,000 sessions.
add_executable(bench_library_window library_window_bench.cpp)
target_link_libraries(bench_library_window PRIVATE kv_library_ui kv_test_support kv_generated_download
  benchmark::benchmark)
