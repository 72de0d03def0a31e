new Ini();
