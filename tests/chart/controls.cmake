# Tests of TColorPick and TNumEdit.
find_package(Qt6 REQUIRED COMPONENTS Test)
kv_add_test(numedit_format_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/numedit_format_test.cpp LIBS kv_chart_values)
kv_add_test(chart_controls_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/colorpick_test.cpp ${CMAKE_CURRENT_LIST_DIR}/numedit_test.cpp
  LIBS kv_chart_controls Qt6::Test QT)
