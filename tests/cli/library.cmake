# korvanta-cli library list / import / rebuild / export-csv, run as a separate process.
kv_add_test(cli_library_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/library_cli_test.cpp LIBS kv_library_test_logs)
add_dependencies(cli_library_test korvanta-cli)
target_compile_definitions(cli_library_test PRIVATE KV_CLI_PATH="$<TARGET_FILE:korvanta-cli>")
