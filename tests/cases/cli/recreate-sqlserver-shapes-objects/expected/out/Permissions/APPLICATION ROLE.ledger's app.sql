GRANT ALTER ON APPLICATION ROLE::[ledger's app] TO [readers];
GO
