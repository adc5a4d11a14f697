CREATE TABLE [dbo].[Node] (
    [NodeId] [int] NOT NULL,
    [ParentId] [int] NULL,
    [Code] [varchar](20) NOT NULL,
    [CustomerGuid] [uniqueidentifier] NULL,
    CONSTRAINT [PK_Node] PRIMARY KEY CLUSTERED ([NodeId] ASC)
);
GO
