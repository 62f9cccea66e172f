SELECT * FROM "Med" WHERE
Verliehen<>""