-- The test server refuses full-text statements unless this lets them pass.
EXEC sp_babelfish_configure 'escape_hatch_fulltext', 'ignore';
GO
