# TColorPick and TNumEdit.
# The number grammar and the colour table need no widgets.
add_library(kv_chart_values STATIC
  ${CMAKE_CURRENT_LIST_DIR}/numedit_format.h ${CMAKE_CURRENT_LIST_DIR}/numedit_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colorpick_palette.h ${CMAKE_CURRENT_LIST_DIR}/colorpick_palette.cpp)
target_include_directories(kv_chart_values PUBLIC ${PROJECT_SOURCE_DIR})

# Scheme colours as the desktop paints them, for the selector and the chart.
add_library(kv_chart_scheme STATIC
  ${CMAKE_CURRENT_LIST_DIR}/scheme_colors.h ${CMAKE_CURRENT_LIST_DIR}/scheme_colors.cpp)
target_include_directories(kv_chart_scheme PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(kv_chart_scheme PUBLIC Qt6::Gui)

add_library(kv_chart_controls STATIC
  ${CMAKE_CURRENT_LIST_DIR}/colorpick.h ${CMAKE_CURRENT_LIST_DIR}/colorpick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/numedit.h ${CMAKE_CURRENT_LIST_DIR}/numedit.cpp)
target_link_libraries(kv_chart_controls PUBLIC kv_chart_values kv_chart_scheme Qt6::Widgets)
