# EMI blocks of the IBIS checker: table lines and the end-of-component check.
corvin_add_bench(emi_bench SOURCES EmiBench.cpp LIBS ibis_checker)
