CREATE UNIQUE NONCLUSTERED INDEX [UX_City_NodeId] ON [Graph].[City] ([$node_id] ASC);
GO
