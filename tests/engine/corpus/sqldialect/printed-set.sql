UPDATE "Med"
SET Gedruckt = True
WHERE
(Medium = "DVD" AND Nr="3")