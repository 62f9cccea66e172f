SELECT * FROM "Med"
WHERE (
Gedruckt=False)