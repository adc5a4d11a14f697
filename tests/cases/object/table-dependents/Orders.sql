ALTER TABLE [dbo].[Orders] ADD 
	PRIMARY KEY CLUSTERED 
	( 
		[OrderId] 
	)  
GO 

ALTER TABLE [dbo].[Orders] ADD 
 	FOREIGN KEY 
	( 
		[CustomerId] 
	) REFERENCES [Customers] 
	( 
		[CustomerId] 
	)  
	,
	FOREIGN KEY 
	( 
		[ShopId] 
	) REFERENCES [Shops] 
	( 
		[ShopId] 
	)  ON DELETE  SET NULL  ON UPDATE  CASCADE
GO 

CREATE   INDEX [IX_Orders_Date] ON [dbo].[Orders]([OrderDate]) ON [PRIMARY]
GO 

ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([Qty]>(0)) 
GO

ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD CHECK ([OrderDate]>='20000101') 
GO

IF OBJECT_ID('[DF_Zero]', 'D') IS NULL 
	EXEC("CREATE DEFAULT DF_Zero AS 0")
GO

ALTER TABLE [dbo].[Orders] ADD DEFAULT (getdate()) FOR [OrderDate] 
GO

IF OBJECT_ID('[R_Positive]', 'R') IS NULL 
	EXEC("CREATE RULE R_Positive AS @value > 0")
GO

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS OFF
GO 



CREATE TRIGGER TR_Orders_Audit ON dbo.Orders AFTER INSERT AS
SET NOCOUNT ON
GO

