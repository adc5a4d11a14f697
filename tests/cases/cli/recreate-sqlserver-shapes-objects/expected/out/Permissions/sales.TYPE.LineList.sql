GRANT REFERENCES ON TYPE::[sales].[LineList] TO [writers];
GO
