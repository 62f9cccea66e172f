SELECT * FROM "Film" WHERE
Titel = "Der Pate"
AND Untertitel = "Teil 1"