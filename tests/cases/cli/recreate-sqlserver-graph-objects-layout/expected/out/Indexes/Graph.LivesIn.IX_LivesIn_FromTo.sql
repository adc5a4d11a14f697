CREATE NONCLUSTERED INDEX [IX_LivesIn_FromTo] ON [Graph].[LivesIn] ([$from_id] ASC, [$to_id] ASC);
GO
