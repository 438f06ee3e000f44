# ibislint: the IBIS file checker on the command line.
add_executable(ibislint ${CMAKE_CURRENT_LIST_DIR}/ibislint.cpp)
target_link_libraries(ibislint PRIVATE ibis_checker)
