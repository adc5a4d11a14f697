GRANT SELECT ON SCHEMA::[sales] TO [readers];
GRANT EXECUTE ON SCHEMA::[sales] TO [ledger's app] WITH GRANT OPTION;
GO
