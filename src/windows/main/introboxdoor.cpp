#include "windows/main/introboxdoor.h"

TIntroboxDoor IntroboxDoor;
