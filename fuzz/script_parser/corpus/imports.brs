import missing;
import other.*;
