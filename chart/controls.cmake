# TColorPick and TNumEdit.
# The number grammar and the colour table need no widgets.
add_library(kv_chart_values STATIC
  ${CMAKE_CURRENT_LIST_DIR}/numedit_format.h ${CMAKE_CURRENT_LIST_DIR}/numedit_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colorpick_palette.h ${CMAKE_CURRENT_LIST_DIR}/colorpick_palette.cpp)
target_include_directories(kv_chart_values PUBLIC ${PROJECT_SOURCE_DIR})

add_library(kv_chart_controls STATIC
  ${CMAKE_CURRENT_LIST_DIR}/colorpick.h ${CMAKE_CURRENT_LIST_DIR}/colorpick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/numedit.h ${CMAKE_CURRENT_LIST_DIR}/numedit.cpp)
target_link_libraries(kv_chart_controls PUBLIC kv_chart_values Qt6::Widgets)
