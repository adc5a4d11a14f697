A table script kept by hand, which no export wrote.
