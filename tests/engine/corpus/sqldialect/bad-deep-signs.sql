DELETE FROM "Film" WHERE
Medium = "DVD"
AND - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -  KassNr = 4