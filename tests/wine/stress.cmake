# The stress and repeated-use suites run on a copy of the library whose
# undefined behaviour (signed overflow, bad shifts, out-of-bounds indexes and
# the like) traps: an overflow on hostile input then ends the test program
# (tests/support/win/FaultWatch.h reports it, even inside a window procedure)
# instead of passing unseen.
set(MIREL_TRAP_UB -fsanitize=undefined -fsanitize-undefined-trap-on-error)
add_library(mirel_trapping_objects OBJECT ${MIREL_ALL_SOURCES})
target_include_directories(mirel_trapping_objects PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(mirel_trapping_objects PRIVATE ${MIREL_LIBRARY_FLAGS} ${MIREL_TRAP_UB})

function(mirel_trapping_test name)
  add_executable(${name} ${ARGN}
    $<TARGET_OBJECTS:mirel_trapping_objects>
    ${CMAKE_SOURCE_DIR}/resources/MirelDialog.rc
    ${CMAKE_SOURCE_DIR}/tests/resources/TestResources.rc)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE mirel_test_support ${MIREL_WIN_LIBS})
  target_link_options(${name} PRIVATE ${MIREL_STATIC_RUNTIME})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

foreach(suite stress repeated_use)
  mirel_trapping_test(wine_${suite}_test ${CMAKE_SOURCE_DIR}/tests/wine/${suite}_suite.cpp)
endforeach()
# The repeated-use suite is also an accessibility client.
target_link_libraries(wine_repeated_use_test PRIVATE oleacc ole32 oleaut32)

# The tests that drive layout, painting, scrolling, styles, images and the
# dialog's arrangement with numbers at the int limit, once more on the
# trapping library: their values saturate, and now no step overflows on the
# way either.
foreach(stem htmlhostile htmllayout htmlimages htmlstyles stylestack_model htmlscroll
    ConsentDialogLayout)
  mirel_trapping_test(wine_${stem}_trap_test ${CMAKE_SOURCE_DIR}/tests/wine/${stem}_test.cpp)
endforeach()
