UPDATE "Med" 
SET Gedruckt=NULL 
WHERE Medium="VHS-SB" or Medium="VHS-KK" or Medium="DVD"