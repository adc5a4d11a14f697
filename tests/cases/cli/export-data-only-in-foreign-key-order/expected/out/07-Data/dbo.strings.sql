INSERT INTO [dbo].[strings] ([id], [c], [vc], [vcmax], [nc], [nvc], [nvcmax], [t], [nt], [x], [p], [s]) VALUES
(1, '          ', '', '', '          ', '', '', '', '', '', '', ''),
(2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(3, 'it''s      ', '''quoted''', 'a '' b', '''         ', '''''', 'it''s', 'don''t', 'won''t', '<a q="''">''</a>', '''', 'o''name'),
(4, 'trail     ', '  lead and trail  ', ' ', '          ', 'trail ', '   ', ' ', ' ', '<a> x </a>', ' 1 ', ' '),
(5, N'café      ', N'Ünïcödé €', N'naïve – ß', N'€         ', N'Привет, 世界', N'😀 𝄞 outside the plane', N'Größe', N'日本語', N'<a>Ж😀</a>', N'é', N'ß'),
(6, NULL, 'line one' + CHAR(13) + CHAR(10) + 'line two', 'lf' + CHAR(10) + 'only', NULL, 'tab' + CHAR(9) + 'bed', 'cr' + CHAR(13) + 'only', 'x' + CHAR(10) + 'GO' + CHAR(10) + 'y', 'bell ' + CHAR(7) + ' and ' + CHAR(1), '<a>' + CHAR(10) + '</a>', NULL, NULL);
GO
