SELECT DISTINCT COUNT(Titel), SUM(Len), MIN(Len), MAX(Len), AVG(Len)
FROM "Film"

WHERE NOT (Wide = true AND Ton = "D" AND Kateg = LOWER("a"))