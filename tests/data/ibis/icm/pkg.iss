* Two package traces and their ground return.
.subckt pkg_io p1 p2 d1 d2 gnd len=5m corner="typ"
r1 p1 d1 10m
r2 p2 d2 10m
c1 d1 gnd 0.5p
c2 d2 gnd 0.5p
.ends pkg_io
