INSERT INTO T (x) VALUES
('ok'),
('café');
GO
