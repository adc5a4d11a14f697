CREATE XML SCHEMA COLLECTION [dbo].[OrderSchema] AS N'<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"><xsd:element name="order" type="xsd:string" /></xsd:schema>';
GO
