CREATE INDEX ix_ok ON T (x);
GO

-- the next batch is refused
CREATE INDEX ix_bad ON Missing (x);
GO
CREATE INDEX ix_never ON T (x);
GO
