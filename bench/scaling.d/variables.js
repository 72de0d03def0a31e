var N = __N__;
__VARS__
var t = 0;
__SUM__
print("variables " + t);
