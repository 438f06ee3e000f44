# A 5,000-pin component with its mapping, differential pairs, models and
# package model: reading and after-file checks.
corvin_add_bench(component_bench SOURCES ComponentBench.cpp LIBS ibis_checker)
