SELECT * FROM "Film" WHERE
KassNr = 4 AND
Medium = "DVD"