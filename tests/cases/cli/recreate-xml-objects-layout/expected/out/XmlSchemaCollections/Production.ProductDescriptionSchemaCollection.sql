CREATE XML SCHEMA COLLECTION [Production].[ProductDescriptionSchemaCollection] AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:t="http://example.com/ProductModelDescription" targetNamespace="http://example.com/ProductModelDescription" elementFormDefault="qualified"><xsd:element name="ProductDescription" type="xsd:string" /></xsd:schema>';
GO
