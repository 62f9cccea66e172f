UPDATE "Film"
SET Free1 = "H. Bogart"
WHERE Free1 = "Humphrey Bogart"