A
B
C
