# TPlotChart and its scales. kv_chart_core holds the Qt-free rules (mapping,
# ticks, items, rendering into pixels, mouse arithmetic); kv_chart the widget.
set(KV_CHART_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(kv_chart_core STATIC
  ${KV_CHART_DIR}/chart_types.h
  ${KV_CHART_DIR}/chart_mapping.h ${KV_CHART_DIR}/chart_mapping.cpp
  ${KV_CHART_DIR}/ruler_ticks.h ${KV_CHART_DIR}/ruler_ticks.cpp
  ${KV_CHART_DIR}/scale_props.h ${KV_CHART_DIR}/scale_props.cpp
  ${KV_CHART_DIR}/minmax_pyramid.h ${KV_CHART_DIR}/minmax_pyramid.cpp
  ${KV_CHART_DIR}/chart_items.h ${KV_CHART_DIR}/chart_items.cpp
  ${KV_CHART_DIR}/chart_parts.h
  ${KV_CHART_DIR}/pixel_raster.h ${KV_CHART_DIR}/pixel_raster.cpp
  ${KV_CHART_DIR}/item_walk.h ${KV_CHART_DIR}/item_walk.cpp
  ${KV_CHART_DIR}/helper_thread.h ${KV_CHART_DIR}/helper_thread.cpp
  ${KV_CHART_DIR}/item_render.h ${KV_CHART_DIR}/item_render.cpp
  ${KV_CHART_DIR}/chart_geometry.h ${KV_CHART_DIR}/chart_geometry.cpp
  ${KV_CHART_DIR}/caption_place.h ${KV_CHART_DIR}/caption_place.cpp
  ${KV_CHART_DIR}/area_paint.h ${KV_CHART_DIR}/area_paint.cpp
  ${KV_CHART_DIR}/chart_mouse.h ${KV_CHART_DIR}/chart_mouse.cpp)
target_include_directories(kv_chart_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kv_chart_core PUBLIC Threads::Threads)

add_library(kv_chart STATIC
  ${KV_CHART_DIR}/qt_paint_helpers.h ${KV_CHART_DIR}/qt_paint_helpers.cpp
  ${KV_CHART_DIR}/plotchart.h ${KV_CHART_DIR}/plotchart.cpp
  ${KV_CHART_DIR}/plotchart_paint.cpp
  ${KV_CHART_DIR}/ruler_paint.h ${KV_CHART_DIR}/ruler_paint.cpp
  ${KV_CHART_DIR}/margin_cache.h ${KV_CHART_DIR}/margin_cache.cpp
  ${KV_CHART_DIR}/picture_cache.h
  ${KV_CHART_DIR}/plotchart_output.cpp
  ${KV_CHART_DIR}/plotchart_mouse.cpp
  ${KV_CHART_DIR}/plotchart_design.h ${KV_CHART_DIR}/plotchart_design.cpp)
target_link_libraries(kv_chart PUBLIC kv_chart_core kv_chart_scheme kv_common Qt6::Widgets Qt6::PrintSupport)

add_executable(chart-demo ${KV_CHART_DIR}/chart_demo.cpp)
target_link_libraries(chart-demo PRIVATE kv_chart)

# Race-shaped traces for the demo picture, the tests and the benchmarks.
add_library(kv_chart_demo_data STATIC ${KV_CHART_DIR}/demo_traces.h ${KV_CHART_DIR}/demo_traces.cpp)
target_include_directories(kv_chart_demo_data PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(chart-demo PRIVATE kv_chart_demo_data)
