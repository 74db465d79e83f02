G90 G17 G00 X0 Y0 Z0
G10 L12 P2 R2.
G10 L12 P1 R5.
(a full circle of radius 20 inside, counter-clockwise, cutter radius 2)
G41 D2 G01 X20. F100
G03 I-20.
G40 G01 X0 Y0
(a corner that turns back by more than 90 degrees, cutter radius 5 outside)
G00 Y-20.
G41 D1 G01 X0 Y0
X30.
X0 Y-10.
G40 X-10. Y-20.
M30
