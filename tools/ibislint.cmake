# ibislint: the IBIS file checker on the command line.
add_library(ibislint_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ibislint/KitFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ibislint/LintReport.cpp)
target_include_directories(ibislint_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ibislint_core PUBLIC ibis_checker)

add_executable(ibislint ${CMAKE_CURRENT_LIST_DIR}/ibislint/main.cpp)
target_link_libraries(ibislint PRIVATE ibislint_core)

# Exit status: 0 all passed, 1 a file failed, 2 usage error.
if(BUILD_TESTING AND CORVIN_BUILD_TESTS)
  set(_lint $<TARGET_FILE:ibislint>)
  set(_data ${PROJECT_SOURCE_DIR}/tests/data/ibis)
  add_test(NAME ibislint.PassesACleanFile
           COMMAND ibislint --silent ${_data}/hdr32.ibs ${_data}/good.ami)
  add_test(NAME ibislint.FailsWhenAnyFileFails
           COMMAND sh -c "'${_lint}' --silent '${_data}/hdr32.ibs' '${_data}/no_end.ibs'; test $? -eq 1")
  add_test(NAME ibislint.RefusesUnknownOptions
           COMMAND sh -c "'${_lint}' --bogus x.ibs; test $? -eq 2")
  add_test(NAME ibislint.RefusesAMissingFileList
           COMMAND sh -c "'${_lint}' --silent; test $? -eq 2")
  add_test(NAME ibislint.ExplainsItsOptions COMMAND ibislint --help)
  set_tests_properties(ibislint.ExplainsItsOptions PROPERTIES
                       PASS_REGULAR_EXPRESSION "--no-char-check")
endif()
