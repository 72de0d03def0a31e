// The shared moments seen from new york.
import lib_zone_report.*;
report();
