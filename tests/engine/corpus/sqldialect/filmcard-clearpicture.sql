UPDATE "Film"
SET Grafik = NULL
WHERE Medium = "DVD"
AND KassNr = 2
AND FilmNr = 1