PRINT 'twice'
GO 2
PRINT 'once'
  go   1  
PRINT 'three times'
Go 3 -- with a comment
