SELECT *
WHERE Titel = "abc"