#include "data/upwarddoors.h"

TUpwardDoors UpwardDoors;
