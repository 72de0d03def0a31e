// A pasted import reads the file in place; lines after it keep their own numbers.
import lib_paste.*;
println(shout(pasted));
x = missingAfterPaste;
