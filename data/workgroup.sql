-- The workgroup file, zevltd.mda: the users the question bank's engine accepts.
CREATE TABLE Users (Name TEXT PRIMARY KEY, Role TEXT);
INSERT INTO Users VALUES ('admin', 'Admins');
INSERT INTO Users VALUES ('ZEVTest', 'Users');
