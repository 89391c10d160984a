# korvanta-cli download / dump / convert, run as a separate process.
kv_add_test(cli_log_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/log_cli_test.cpp
  LIBS kv_logdata_codec kv_test_emulator QT)
add_dependencies(cli_log_test korvanta-cli)
target_compile_definitions(cli_log_test PRIVATE KV_CLI_PATH="$<TARGET_FILE:korvanta-cli>")
