# IBIS reader: line reader and whole-file throughput.
corvin_add_bench(ibisparser_bench SOURCES IbisParserBench.cpp LIBS ibis_checker)
