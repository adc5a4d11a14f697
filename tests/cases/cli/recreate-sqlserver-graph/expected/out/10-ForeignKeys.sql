ALTER TABLE [Graph].[FriendOf] ADD CONSTRAINT [EC_FriendOf] CONNECTION ([Graph].[Person] TO [Graph].[Person]);
GO
ALTER TABLE [Graph].[LivesIn] ADD CONSTRAINT [EC_LivesIn] CONNECTION ([Graph].[Person] TO [Graph].[City], [Graph].[Company] TO [Graph].[City]) ON DELETE CASCADE;
GO
