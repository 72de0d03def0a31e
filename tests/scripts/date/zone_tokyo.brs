// The shared moments seen from tokyo.
import lib_zone_report.*;
report();
