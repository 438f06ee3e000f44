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
           COMMAND ibislint --silent ${_data}/hdr42.ibs ${_data}/good.ami)
  add_test(NAME ibislint.FailsWhenAnyFileFails
           COMMAND sh -c "'${_lint}' --silent '${_data}/hdr32.ibs' '${_data}/no_end.ibs'; test $? -eq 1")
  add_test(NAME ibislint.RefusesUnknownOptions
           COMMAND sh -c "'${_lint}' --bogus x.ibs; test $? -eq 2")
  add_test(NAME ibislint.RefusesAMissingFileList
           COMMAND sh -c "'${_lint}' --silent; test $? -eq 2")
  add_test(NAME ibislint.ExplainsItsOptions COMMAND ibislint --help)
  set_tests_properties(ibislint.ExplainsItsOptions PROPERTIES
                       PASS_REGULAR_EXPRESSION "--no-char-check")
  add_test(NAME ibislint.ChecksAFileNamedTwiceOnce
           COMMAND ibislint --silent ${_data}/good.ami ${_data}/../ibis/good.ami)
  set_tests_properties(ibislint.ChecksAFileNamedTwiceOnce PROPERTIES
                       PASS_REGULAR_EXPRESSION "ibislint: 1 file checked: 1 passed, 0 failed")
  add_test(NAME ibislint.PrintsGnuLinesWithFileLineAndCode
           COMMAND ibislint --format gnu ${_data}/bad_reserved.ami)
  set_tests_properties(ibislint.PrintsGnuLinesWithFileLineAndCode PROPERTIES
                       PASS_REGULAR_EXPRESSION "bad_reserved.ami:4: error: Illegal Default value 2.5 specified for Max_Init_Aggressors \\[E4627\\]")

  # The system Python first: the schema check uses Debian's jsonschema,
  # which another python3 earlier on the PATH would not see.
  find_program(CORVIN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(CORVIN_PYTHON3 python3)
  if(CORVIN_PYTHON3)
    set(_run ${CORVIN_PYTHON3} ${PROJECT_SOURCE_DIR}/tests/tools/ibislint_run.py ${_lint})
    set(_corpus ${PROJECT_SOURCE_DIR}/../shared/corpus)
    set(_dirs ${_data})
    if(EXISTS ${_corpus})
      list(APPEND _dirs ${_corpus})
    endif()
    add_test(NAME ibislint.JsonOutputMatchesTheSchema
             COMMAND ${_run} schema ${PROJECT_SOURCE_DIR}/tools/ibislint.schema.json ${_dirs})
    set_tests_properties(ibislint.JsonOutputMatchesTheSchema PROPERTIES SKIP_RETURN_CODE 77)
    add_test(NAME ibislint.EveryFormatGivesTheSameVerdicts COMMAND ${_run} verdicts ${_dirs})
    add_test(NAME ibislint.ShowsTwentyOfACodeAndCountsAll COMMAND ${_run} repeats)
    add_test(NAME ibislint.NamesTheFileEachMessageIsAbout COMMAND ${_run} files)
    add_test(NAME ibislint.JsonTextsAreTheTextOutput COMMAND ${_run} texts ${_dirs})
  endif()
endif()
