GRANT CONTROL ON ROLE::[odd]] role's] TO [writers];
GO
