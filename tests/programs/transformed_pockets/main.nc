G90 G17 G00 X0 Y0 Z5.
G10 L2 P1 X100. Y0 Z0
G54
(a pocket contour rotated 30 degrees about X10 Y10)
G68 X10. Y10. R30.
G00 X10. Y10.
G01 X30. Y10. F100
Y20.
G03 X20. Y30. R10.
G01 X10.
Y10.
G69
(the same contour mirrored about X50)
G51.1 X50.
G00 X10. Y10.
G01 X30. Y10.
Y20.
G03 X20. Y30. R10.
G01 X10.
Y10.
G50.1 X0
(scaled twice, Y mirrored)
G51 X0 Y0 I2. J-2. K1.
G01 X5. Y5.
G02 X10. Y0 R5.
G50
(bolt circle in polar coordinates: radius 20, every 90 degrees from 45)
G00 G16
G81 X20. Y45. Z-5. R2. F100
Y135.
G91 Y90.
Y90.
G90 G80 G15
G00 X0 Y0
M30
