#include "windows/introboxdoor.h"

TIntroboxDoor IntroboxDoor;
