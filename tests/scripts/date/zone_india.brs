// The shared moments seen from india.
import lib_zone_report.*;
report();
