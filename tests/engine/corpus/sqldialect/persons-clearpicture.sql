UPDATE "Pers"
SET Grafik = NULL
WHERE Name = "Marlon Brando"