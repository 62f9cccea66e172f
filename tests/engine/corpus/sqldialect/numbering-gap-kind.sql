SELECT Nr FROM "Med" T1 WHERE
T1.Medium = "DVD" 
AND NOT EXISTS (SELECT * FROM "Med" T2 WHERE
T2.Medium = T1.Medium
AND T2.Nr = (T1.Nr + 1) )