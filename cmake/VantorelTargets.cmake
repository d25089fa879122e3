# One static library per source folder: every .cpp in the folder (not below it).
#   vantorel_folder_library(name SJIS? INCLUDE dir... LINK target...)
function(vantorel_folder_library name)
  cmake_parse_arguments(ARG "SJIS" "" "INCLUDE;LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  if(ARG_INCLUDE)
    target_include_directories(${name} ${scope} ${ARG_INCLUDE})
  endif()
  if(ARG_LINK)
    target_link_libraries(${name} ${scope} ${ARG_LINK})
  endif()
  if(sources)
    if(ARG_SJIS)
      vantorel_flags(${name} SJIS)
    else()
      vantorel_flags(${name})
    endif()
  endif()
endfunction()

# One test executable per subsystem: every .cpp in the folder, registered with CTest
# under the given label, one CTest test per suite: a test program's start costs about
# as much as a unit test (its libraries, and a second under the sanitizers), so a suite
# runs in one process. WHOLE_GAME: whole-game runs, each test registered on its own
# (long enough to run side by side).
function(vantorel_test_folder name label)
  cmake_parse_arguments(ARG "WHOLE_GAME" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/end_on_signals.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/headless_drivers.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/private_lock_folders.cpp
                 ${PROJECT_SOURCE_DIR}/tests/support/process_temporary_folder.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main Threads::Threads)
  vantorel_flags(${name} SJIS)
  # A test source is mostly the test framework's headers: compiled eight to a unit,
  # the programs compile in a third of the time. Names at file scope must therefore
  # differ between a folder's sources, anonymous namespace or not.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  # g++ takes a type of an anonymous namespace in an included source for a leak of it
  # (-Wsubobject-linkage); in a unit of whole sources it is none.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${name} PRIVATE -Wno-subobject-linkage)
  endif()
  # Line tables are all a failed check's stack needs; full debug information is a third
  # of the test programs' compile time. A unit test's own code is not where its time
  # goes, but its optimisation is most of the compile time: -O0 (the code under test
  # keeps -O2). Whole-game runs read frames back and check them pixel by pixel: their
  # checks keep -O2, and under the sanitizers are built as in the normal build (the
  # sanitizers watch the game and the library those runs drive; instrumented, the
  # checks were a fifth of the runs' time).
  target_compile_options(${name} PRIVATE -g1)
  if(NOT ARG_WHOLE_GAME)
    target_compile_options(${name} PRIVATE -O0)
  elseif(VANTOREL_SANITIZE)
    target_compile_options(${name} PRIVATE -fno-sanitize=all)
  endif()
  if(ARG_WHOLE_GAME)
    include(GoogleTest)
    gtest_discover_tests(${name} PROPERTIES LABELS ${label} DISCOVERY_TIMEOUT 60)
    return()
  endif()
  set(suites ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  add_custom_command(TARGET ${name} POST_BUILD BYPRODUCTS ${suites}
    COMMAND ${CMAKE_COMMAND} -D PROGRAM=$<TARGET_FILE:${name}> -D TESTS_FILE=${suites} -D LABEL=${label}
            -D WORKING_DIRECTORY=${CMAKE_CURRENT_BINARY_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/AddTestSuites.cmake
    VERBATIM)
  set(include_suites ${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake)
  file(WRITE ${include_suites} "if(EXISTS \"${suites}\")\n  include(\"${suites}\")\nelse()\n"
       "  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_suites})
endfunction()
