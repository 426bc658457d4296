# Small helpers so that each folder's CMakeLists.txt stays a few lines long.

# plasmora_library(NAME src... [LIBS lib...])  -- one static library per subsystem folder.
function(plasmora_library name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# plasmora_test(NAME src... [LIBS lib...] [GL] [LABELS l...])
# A GoogleTest executable registered with CTest. GL marks tests that use the off-screen
# context: they get the leak suppressions for Mesa's own allocations.
function(plasmora_test name)
  cmake_parse_arguments(A "GL" "" "LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    PLASMORA_SHARED_DIR="${PLASMORA_SHARED_DIR}"
    PLASMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PLASMORA_BINARY_DIR="${CMAKE_BINARY_DIR}"
    PLASMORA_DATA_DIR="${PLASMORA_DATA_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set(env "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  if(A_GL)
    list(APPEND env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" LABELS "${A_LABELS}")
endfunction()

# plasmora_fuzz(NAME src... LIBS lib... SEEDS dir...)
# A libFuzzer target, run briefly by CTest over its seed corpus (sanitizer build only).
set(PLASMORA_FUZZ_SECONDS 15 CACHE STRING "Seconds each fuzz target runs under ctest")
function(plasmora_fuzz name)
  if(NOT PLASMORA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "" "LIBS;SEEDS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(scratch ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env
             UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
             $<TARGET_FILE:${name}> -max_total_time=${PLASMORA_FUZZ_SECONDS} -rss_limit_mb=2048
             -timeout=10 -print_final_stats=1 ${scratch} ${A_SEEDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz)
  file(MAKE_DIRECTORY ${scratch})
endfunction()
