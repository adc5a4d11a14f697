ALTER TABLE [dbo].[Token] ADD CONSTRAINT [DF_Token_Code] DEFAULT ([dbo].[fnNextToken]()) FOR [Code];
GO
