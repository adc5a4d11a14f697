CREATE XML SCHEMA COLLECTION [Production].[ManuInstructionsSchemaCollection] AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:t="http://example.com/ProductModelManuInstructions" targetNamespace="http://example.com/ProductModelManuInstructions" elementFormDefault="qualified"><xsd:element name="step" type="xsd:string" fixed="Don''t skip" /></xsd:schema>';
GO
