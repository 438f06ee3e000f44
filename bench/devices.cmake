# Per-sample cost of the transmit de-emphasis block.
corvin_add_bench(devices_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/TxFirDcBench.cpp
                 LIBS corvin_devices)
