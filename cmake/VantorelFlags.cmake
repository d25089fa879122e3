# Compiler settings shared by every target.
#   vantorel_flags(target)        warnings, exact floating point
#   vantorel_flags(target SJIS)   and narrow literals compiled to Shift-JIS bytes
function(vantorel_flags target)
  cmake_parse_arguments(ARG "SJIS" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math)
  if(ARG_SJIS)
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8)
    # clang only knows UTF-8 as execution character set; it builds just the fuzz
    # targets, where the library's own messages may stay UTF-8.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -fexec-charset=CP932)
    elseif(NOT VANTOREL_FUZZ)
      message(FATAL_ERROR "Shift-JIS literals need g++ (-fexec-charset=CP932)")
    endif()
  endif()
  if(VANTOREL_FUZZ)
    # Every library object carries the fuzzer's coverage counters; any sanitizer report
    # ends the run, so that undefined behaviour fails fuzzing like a crash does. Line
    # tables (-g1) are all a report's stack needs.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=all -g1)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(VANTOREL_SANITIZE)
    # Line tables (-g1) are all a report's stack needs; full debug information
    # doubles the instrumented build's compile and link time.
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
                           -g1)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
