import lib_broken;
