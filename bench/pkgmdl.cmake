# Package models of 2,000 pins: banded, sparse and full matrices.
corvin_add_bench(pkgmdl_bench SOURCES PkgmdlBench.cpp LIBS ibis_checker)
