#include "Mykpsmall.h"

suite::TYieldProc AYieldProcessProc;
