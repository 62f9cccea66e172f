SELECT DISTINCT F.Titel, M.Verliehen
FROM "Film" F , "Med" M
WHERE
F.Medium = M.Medium AND F.KassNr = M.Nr

AND ( (UPPER(M.Verliehen) = "MEIER" AND F.Memo IS NOT NULL)
OR NOT (F.Len < 50)
)
ORDER BY F.Titel