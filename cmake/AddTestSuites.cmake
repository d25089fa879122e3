# Run after a test program is built (cmake -P): writes TESTS_FILE, which registers one
# CTest test per GoogleTest suite of PROGRAM (its tests filtered by "<suite>.*"), run in
# WORKING_DIRECTORY and labelled LABEL.
execute_process(COMMAND ${PROGRAM} --gtest_list_tests OUTPUT_VARIABLE listing RESULT_VARIABLE result TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${result}):\n${listing}")
endif()
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" listing "${listing}")
set(script "")
foreach(line IN LISTS listing)
  # Suites start their lines ("Suite." or "Prefix/Suite.  # TypeParam = ..."); tests are indented.
  if(line MATCHES "^([^ #][^ ]*)\\.( |$)")
    set(suite ${CMAKE_MATCH_1})
    string(APPEND script "add_test([==[${suite}]==] [==[${PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n"
           "set_tests_properties([==[${suite}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKING_DIRECTORY}]==] LABELS ${LABEL})\n")
  endif()
endforeach()
file(WRITE ${TESTS_FILE} "${script}")
