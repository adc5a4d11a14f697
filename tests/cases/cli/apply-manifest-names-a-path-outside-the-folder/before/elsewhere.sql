CREATE TABLE b (x int);
