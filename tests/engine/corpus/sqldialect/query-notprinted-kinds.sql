SELECT * FROM "Med"
WHERE (
Medium="VHS-SB"
OR
Medium="DVD"
OR
(Medium!="VHS-SB" and Medium!="VHS-KK" and Medium!="DVD")
) AND Gedruckt=False