// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mykpsmall.h"

suite::TYieldProc AYieldProcessProc;
thread_local bool gNoYieldsOnThisThread = false;
