# download, dump and convert run the download window's own code.
target_link_libraries(korvanta-cli PRIVATE kv_logdata_download kv_logdata_codec kv_link)
