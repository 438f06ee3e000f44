# Components beside a directory of .pkg files: the package-model search.
corvin_add_bench(pkgsearch_bench SOURCES PkgSearchBench.cpp LIBS ibis_checker)
