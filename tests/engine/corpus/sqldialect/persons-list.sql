SELECT Name
FROM "Pers"
WHERE
 :Filter = false OR UPPER(Name) LIKE UPPER( :N )