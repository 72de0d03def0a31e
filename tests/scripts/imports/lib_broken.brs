ok = 1;
broken = ;
