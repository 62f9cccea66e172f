SELECT Titel + " - " + Untertitel,Medium,KassNr,FilmNr
FROM "Film"
WHERE
(Untertitel<>"" AND SUBSTRING ( Untertitel FROM 1 FOR 1) <> ">")
AND
(
UPPER(Free1) LIKE UPPER( :N )
OR
UPPER(Free4) LIKE UPPER( :N )
)
UNION
SELECT CAST(Titel+SUBSTRING( Untertitel FROM 2 ) as CHAR(83)) , Medium, KassNr, FilmNr
FROM "Film"
WHERE
( Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1)=">")
AND
(
UPPER(Free1) LIKE UPPER( :N )
OR
UPPER(Free4) LIKE UPPER( :N )
)