gauss
A*EXP(-SQR(Z-B)/C)
 7 
