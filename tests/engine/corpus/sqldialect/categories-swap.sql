UPDATE
"Film"
SET Kateg = :Neu
WHERE Kateg = :Alt