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
# under the given label.
function(vantorel_test_folder name label)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/end_on_signals.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main Threads::Threads)
  vantorel_flags(${name} SJIS)
  if(VANTOREL_SANITIZE)
    # The checks' own code is not where the time goes under the sanitizers, but its
    # optimisation is most of their compile time; the code under test keeps -O2.
    target_compile_options(${name} PRIVATE -O1)
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name} PROPERTIES LABELS ${label} DISCOVERY_TIMEOUT 60)
  # The discovery script splits a list-valued ENVIRONMENT into separate arguments, so
  # the environment is set on the discovered tests by a file read after theirs.
  set(environment_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_file}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT \"SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_file})
endfunction()
