corvin_add_bench(amiparam_bench SOURCES AmiParamBench.cpp LIBS amiparam)
