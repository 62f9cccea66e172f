SELECT * FROM "Med" WHERE
Rueckgabedatum <= "02/01/2024"