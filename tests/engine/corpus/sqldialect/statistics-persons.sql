SELECT Count(*) FROM
"Pers"
WHERE MF=
"M"