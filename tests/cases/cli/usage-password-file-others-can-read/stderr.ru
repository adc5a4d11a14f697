sqlscripts: --password-file /etc/passwd может читать не только его владелец (права 0644); оставьте чтение одному владельцу: chmod 600 /etc/passwd
