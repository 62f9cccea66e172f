SELECT * FROM "Film"
WHERE Wertung 
>= 
3
ORDER BY Wertung, Kateg, Titel, Untertitel