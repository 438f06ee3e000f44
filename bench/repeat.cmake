# Files that repeat one line or record n times: the checker stays linear.
corvin_add_bench(repeat_bench SOURCES RepeatBench.cpp LIBS ibis_checker)
