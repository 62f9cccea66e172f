SELECT * FROM
"Film" F, "Med" M
WHERE
M.Medium = F.Medium AND M.Nr = F.KassNr
 