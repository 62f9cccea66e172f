SELECT * FROM
"Film"
WHERE Kateg = :K