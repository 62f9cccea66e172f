UPDATE "Film"
SET Medium = "DVD"
 , KassNr = 4
WHERE Medium = "VHS-SB"
AND KassNr = 3