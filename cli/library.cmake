# library list|import|rebuild|export-csv run the session library's core.
target_sources(korvanta-cli PRIVATE library_commands.cpp)
target_link_libraries(korvanta-cli PRIVATE kv_library)
