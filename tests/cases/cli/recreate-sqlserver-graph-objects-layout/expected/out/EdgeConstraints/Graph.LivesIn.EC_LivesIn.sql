ALTER TABLE [Graph].[LivesIn] ADD CONSTRAINT [EC_LivesIn] CONNECTION ([Graph].[Person] TO [Graph].[City], [Graph].[Company] TO [Graph].[City]) ON DELETE CASCADE;
GO
