// The shared moments seen from lord howe.
import lib_zone_report.*;
report();
