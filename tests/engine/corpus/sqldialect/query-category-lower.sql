SELECT * FROM "Film"
WHERE Kateg = LOWER("c")