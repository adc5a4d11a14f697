CREATE UNIQUE NONCLUSTERED INDEX [UX_City_NodeId] ON [Graph].[City] ([$node_id] ASC);
GO
CREATE NONCLUSTERED INDEX [IX_LivesIn_FromTo] ON [Graph].[LivesIn] ([$from_id] ASC, [$to_id] ASC);
GO
