corvin_add_bench(ami_bench SOURCES AmiBench.cpp
  LIBS corvin_rx1_tables corvin_tx1_tables vantra_blocks ${CMAKE_DL_LIBS})
target_compile_definitions(ami_bench PRIVATE CORVIN_LIB_DIR="${PROJECT_BINARY_DIR}/lib"
                           CORVIN_SSE2_LIB_DIR="${PROJECT_BINARY_DIR}/lib-sse2")
add_dependencies(ami_bench corvin_rx1_ami corvin_tx1_ami corvin_rx1_ami_sse2 corvin_tx1_ami_sse2)
