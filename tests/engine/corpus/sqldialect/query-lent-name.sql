SELECT * FROM "Med" WHERE
UPPER(Verliehen) LIKE UPPER("%mei%")