SELECT M.Medium, M.Nr, F.Titel AS Film1
FROM "Med" M, 
"Film" F
WHERE M.Medium=F.Medium AND M.Nr=F.KassNr AND F.FilmNr=1
AND M.SN=-1234567