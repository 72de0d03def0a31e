x = NaN + 1;
