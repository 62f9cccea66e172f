SELECT * FROM "Film"
ORDER BY Kateg, Titel, Untertitel