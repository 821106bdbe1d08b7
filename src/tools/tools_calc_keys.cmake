# Calculator logic and the key table: core, no Qt.
target_sources(kelvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/calculator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/key_capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/key_table.cpp
)
