switch (x) { case 1: a; case /ab+c/gi: b; default: c; }
