# Window-free code on Linux, under AddressSanitizer and UndefinedBehaviorSanitizer;
# without them (preset native-bench) for the parser benchmark.
option(MIREL_SANITIZE "Build the native code with sanitizers and fuzzer coverage" ON)
if(MIREL_SANITIZE)
  set(MIREL_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(-g ${MIREL_SANITIZE_FLAGS})
  add_link_options(${MIREL_SANITIZE_FLAGS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # Coverage for the fuzzers; harmless for the unit tests.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

add_library(mirel_portable STATIC platform/WinSeam.cpp ${MIREL_PORTABLE_SOURCES})
target_include_directories(mirel_portable PUBLIC ${CMAKE_SOURCE_DIR})

# The native parser benchmark, built always so that it keeps compiling.
add_executable(mirel_parse_bench tools/bench/parse_bench.cpp tools/bench/BenchMessage.cpp)
target_link_libraries(mirel_parse_bench PRIVATE mirel_portable)

if(NOT MIREL_TESTS)
  return()
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${MIREL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB MIREL_NATIVE_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(mirel_test_support STATIC ${MIREL_NATIVE_SUPPORT})
target_include_directories(mirel_test_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(mirel_test_support PUBLIC gtest)

file(GLOB MIREL_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
foreach(source ${MIREL_UNIT_TESTS})
  get_filename_component(stem ${source} NAME_WE)
  add_executable(native_${stem} ${source})
  target_link_libraries(native_${stem} PRIVATE mirel_portable mirel_test_support)
  add_test(NAME native_${stem} COMMAND native_${stem})
endforeach()

# What tools/wine32-install.sh does with apt's answers.
add_test(NAME wine32_install_decisions COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/wine32-install-test.sh)
# What tools/qemu-i386.sh takes for emulation and for a failure of it.
add_test(NAME qemu_i386_decisions COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/qemu-i386-test.sh)

# Fuzz targets: each runs for a bounded time in the test command.
set(MIREL_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs in the test command")
if(MIREL_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  file(GLOB MIREL_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(source ${MIREL_FUZZERS})
    get_filename_component(stem ${source} NAME_WE)
    add_executable(${stem} ${source})
    target_link_libraries(${stem} PRIVATE mirel_portable)
    target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${stem})
    set(work ${CMAKE_BINARY_DIR}/fuzz-work/${stem})
    set(dict_args)
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/${stem}.dict)
      set(dict_args -dict=${CMAKE_SOURCE_DIR}/tests/fuzz/${stem}.dict)
    endif()
    add_test(NAME ${stem}_smoke
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
        ${CMAKE_SOURCE_DIR}/tools/fuzz-run.sh $<TARGET_FILE:${stem}> ${corpus} ${work} ${MIREL_FUZZ_SECONDS} ${dict_args})
  endforeach()
endif()
