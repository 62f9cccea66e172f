SELECT * FROM
"Med"
WHERE (
Medium = "DVD" AND Nr=3)
OR (
Medium = "VHS-SB" AND Nr=12)