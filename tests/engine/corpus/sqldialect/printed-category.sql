SELECT DISTINCT Medium, KassNr FROM "Film"
WHERE Kateg = "c"
AND (Medium = "VHS-SB" OR Medium = "VHS-KK")