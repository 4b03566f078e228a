oops
A+B
2.5
