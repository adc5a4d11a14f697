CREATE   INDEX [auidind] ON [dbo].[titleauthor]([au_id]) ON [PRIMARY]
GO 

CREATE   INDEX [aunmind] ON [dbo].[authors]([au_lname], [au_fname]) ON [PRIMARY]
GO 

CREATE   INDEX [employee_ind] ON [dbo].[employee]([fname], [minit], [lname]) ON [PRIMARY]
GO 

CREATE   INDEX [titleidind] ON [dbo].[titleauthor]([title_id]) ON [PRIMARY]
GO 

CREATE   INDEX [titleidind] ON [dbo].[sales]([title_id]) ON [PRIMARY]
GO 

CREATE   INDEX [titleidind] ON [dbo].[roysched]([title_id]) ON [PRIMARY]
GO 

CREATE   INDEX [titleind] ON [dbo].[titles]([title]) ON [PRIMARY]
GO 

