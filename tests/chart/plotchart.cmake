# Tests of TPlotChart.
kv_add_test(chart_core_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_mapping_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_ticks_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_items_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/item_store_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_geometry_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/caption_place_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_mouse_math_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_render_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/helper_thread_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/curve_summary_test.cpp
  LIBS kv_chart_core kv_chart_demo_data)

# The item store once more, without page remapping, as systems that lack it
# build it.
kv_add_test(chart_item_store_portable_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/item_store_test.cpp ${PROJECT_SOURCE_DIR}/chart/chart_items.cpp
          ${PROJECT_SOURCE_DIR}/chart/minmax_pyramid.cpp)
target_compile_definitions(chart_item_store_portable_test PRIVATE KV_ITEM_BUFFER_PORTABLE)
target_include_directories(chart_item_store_portable_test PRIVATE ${PROJECT_SOURCE_DIR})

kv_add_test(chart_widget_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_widget_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_widget_mouse_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_output_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_scheme_colors_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_ruler_caption_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/chart_picture_cache_test.cpp
  LIBS kv_chart kv_chart_controls
  QT)
