# The harness's heavy stages at the size of a 100,000-bit run, and whole
# 1,000,000-bit runs.
if(TARGET amisim)
  corvin_add_bench(amisim_bench SOURCES AmiSimBench.cpp LIBS amisim)
  target_compile_definitions(amisim_bench PRIVATE CORVIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(TARGET corvin_rx1_ami AND TARGET corvin_tx1_ami)
    add_dependencies(amisim_bench corvin_rx1_ami corvin_tx1_ami corvin_kit)
    target_compile_definitions(amisim_bench PRIVATE CORVIN_KIT_DIR="${CMAKE_BINARY_DIR}/kit")
    target_compile_definitions(amisim_bench PRIVATE
      CORVIN_RX_LIBRARY="$<TARGET_FILE:corvin_rx1_ami>"
      CORVIN_TX_LIBRARY="$<TARGET_FILE:corvin_tx1_ami>")
  endif()
endif()
