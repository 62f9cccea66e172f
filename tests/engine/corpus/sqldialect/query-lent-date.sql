SELECT * FROM "Med" WHERE
Verleihdatum <= "03/05/2004"