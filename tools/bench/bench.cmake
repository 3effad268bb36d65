# The benchmark program (tools/bench/run.sh): links the library's objects for
# the HTML control and loads the built DLL for the dialog timings.
add_executable(mirel_bench
  tools/bench/bench.cpp tools/bench/BenchMessage.cpp tools/bench/BenchWindow.cpp tools/bench/DialogTiming.cpp
  tools/bench/DrawTextTiming.cpp tools/bench/HtmlTiming.cpp tools/bench/StampedConsentDialog.cpp
  $<TARGET_OBJECTS:mirel_objects> resources/MirelDialog.rc)
target_include_directories(mirel_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(mirel_bench PRIVATE ${MIREL_WIN_LIBS})
target_link_options(mirel_bench PRIVATE ${MIREL_STATIC_RUNTIME})
add_dependencies(mirel_bench MirelDialog)
