CREATE INDEX ix_later ON T (x);
GO
