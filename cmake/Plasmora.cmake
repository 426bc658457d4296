# Small helpers so that each folder's CMakeLists.txt stays a few lines long.

# plasmora_library(NAME src... [LIBS lib...])  -- one static library per subsystem folder.
function(plasmora_library name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
endfunction()

# plasmora_sanitizer_support(TARGET) -- in the sanitizer build, links the sanitizers' settings
# and the code that keeps every library loaded at run time mapped until exit
# (tests/support/sanitizer_support.cpp). For the tests and every program a test runs.
function(plasmora_sanitizer_support target)
  if(PLASMORA_SANITIZE)
    if(NOT TARGET plasmora_sanitizer_support)
      add_library(plasmora_sanitizer_support OBJECT
                  ${PROJECT_SOURCE_DIR}/tests/support/sanitizer_support.cpp)
    endif()
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:plasmora_sanitizer_support>)
    target_link_libraries(${target} PRIVATE ${CMAKE_DL_LIBS})
  endif()
endfunction()

# plasmora_test(NAME src... [LIBS lib...] [GL] [LABELS l...])
# A GoogleTest executable; each of its cases is its own CTest test, named NAME.Suite.Case.
# GL marks tests that use the off-screen context (label gl, unless LABELS are given).
include(GoogleTest)
function(plasmora_test name)
  cmake_parse_arguments(A "GL" "" "LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    PLASMORA_SHARED_DIR="${PLASMORA_SHARED_DIR}"
    PLASMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PLASMORA_BINARY_DIR="${CMAKE_BINARY_DIR}"
    PLASMORA_DATA_DIR="${PLASMORA_DATA_DIR}")
  plasmora_sanitizer_support(${name})
  set(label "${A_LABELS}")
  if(A_GL AND NOT label)
    set(label gl)
  endif()
  # The cases are listed when CTest runs, not at build time: the build never runs a test.
  # (One label at most: a list value would not survive the discovery.)
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${label}")
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
