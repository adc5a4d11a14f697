SELECT 1
GO
SELECT '﻿ kept inside'
GO
