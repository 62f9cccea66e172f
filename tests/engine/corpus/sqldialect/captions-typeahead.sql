SELECT Free3 FROM
"Film"
WHERE Free3 LIKE "Ab%"
AND Free3 <> "Ab"
ORDER BY Free3