comment
z
