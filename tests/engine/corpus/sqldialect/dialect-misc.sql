select f.titel, count(*) as Anzahl from "Film" f
where f.len between 60 and 120 and f.kateg in ("1", "2")
group by f.titel having count(*) > 1 order by Anzahl desc