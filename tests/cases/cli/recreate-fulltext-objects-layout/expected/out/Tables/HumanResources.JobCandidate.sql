CREATE TABLE [HumanResources].[JobCandidate] (
    [JobCandidateID] [int] NOT NULL,
    [Resume] [xml] NULL,
    CONSTRAINT [PK_JobCandidate_JobCandidateID] PRIMARY KEY CLUSTERED ([JobCandidateID] ASC)
);
GO
