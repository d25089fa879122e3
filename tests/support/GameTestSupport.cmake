# The game tests' shared helpers, compiled into a test program: the call recorder, the
# scripted input and the frame saving, whose functions the linker puts between the
# game and what it calls (--wrap, one flag per __wrap_ function found in their sources).
#   vantorel_wrap_game_calls(target)
function(vantorel_wrap_game_calls target)
  # The function's own folder: it is also called from outside tests/ (the benchmarks).
  set(game_test_support_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(wrapping ${game_test_support_dir}/call_recorder.cpp ${game_test_support_dir}/scripted_input.cpp
      ${game_test_support_dir}/save_frame.cpp)
  target_sources(${target} PRIVATE ${wrapping})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${wrapping})
  foreach(source ${wrapping})
    set(wrapped "(__wrap_|(RECORDED_CALL|DRAW_PASS)\\([A-Za-z]+, )(_Z[A-Za-z0-9_]+)")
    file(STRINGS ${source} lines REGEX "${wrapped}")
    foreach(line ${lines})
      string(REGEX MATCH "${wrapped}" ignored "${line}")
      target_link_options(${target} PRIVATE -Wl,--wrap=${CMAKE_MATCH_3})
    endforeach()
  endforeach()
  target_link_libraries(${target} PRIVATE game_data)
  target_compile_definitions(${target} PRIVATE GAME_TEST_FRAME_DIR="${CMAKE_BINARY_DIR}/test-frames")
endfunction()
