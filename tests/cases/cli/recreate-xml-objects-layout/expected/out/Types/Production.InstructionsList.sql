CREATE TYPE [Production].[InstructionsList] AS TABLE (
    [ProductModelID] [int] NOT NULL,
    [Instructions] [xml](CONTENT [Production].[ManuInstructionsSchemaCollection]) NULL
);
GO
