GRANT CONNECT TO [DataAnalyst];
GRANT UNMASK TO [DataAnalyst];
GO
