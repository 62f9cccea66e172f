UPDATE "Med"
SET Gedruckt = False
WHERE
(Medium = "DVD" AND Nr="3")