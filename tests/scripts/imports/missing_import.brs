println("never");
import lib_nowhere;
