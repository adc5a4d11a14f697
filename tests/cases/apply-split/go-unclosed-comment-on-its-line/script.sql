SELECT 1
GO /* opens
*/
