# The harness's heavy stages at the size of a 100,000-bit run.
if(TARGET amisim)
  corvin_add_bench(amisim_bench SOURCES AmiSimBench.cpp LIBS amisim)
  target_compile_definitions(amisim_bench PRIVATE CORVIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
