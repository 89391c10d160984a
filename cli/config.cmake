# config-read and config-write run the configure window's own code.
target_link_libraries(korvanta-cli PRIVATE kv_config_core kv_link)
