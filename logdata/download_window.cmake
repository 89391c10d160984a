# What the download window shows, without Qt.
add_library(kv_download_view STATIC download_view.h download_view.cpp)
target_link_libraries(kv_download_view PUBLIC kv_logdata_model kv_ui)

# The download window TForm2.
add_library(kv_download_window STATIC download_window.h download_window.cpp download_window_layout.cpp)
target_link_libraries(kv_download_window PUBLIC kv_download_view kv_logdata_download kv_link kv_ui_qt Qt6::Widgets)
