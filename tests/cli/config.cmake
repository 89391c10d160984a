# korvanta-cli config-read / config-write against an emulated instrument.
kv_add_test(cli_config_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/config_cli_test.cpp
  LIBS kv_config_core kv_test_emulator QT)
add_dependencies(cli_config_test korvanta-cli)
target_compile_definitions(cli_config_test PRIVATE KV_CLI_PATH="$<TARGET_FILE:korvanta-cli>")
