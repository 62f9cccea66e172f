SELECT Untertitel FROM "Film" WHERE
Titel = "Der Pate" AND Untertitel IS NOT NULL