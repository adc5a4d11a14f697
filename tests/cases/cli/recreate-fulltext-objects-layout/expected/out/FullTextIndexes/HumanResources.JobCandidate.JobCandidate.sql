CREATE FULLTEXT INDEX ON [HumanResources].[JobCandidate] ([Resume] LANGUAGE 1033) KEY INDEX [PK_JobCandidate_JobCandidateID] ON [AW2016FullTextCatalog] WITH (CHANGE_TRACKING = MANUAL, STOPLIST = OFF);
ALTER FULLTEXT INDEX ON [HumanResources].[JobCandidate] DISABLE;
GO
