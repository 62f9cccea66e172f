// Modal results (kept here for the windows; the values live with the user
// dialogs' interface, which the layers without windows share).
#pragma once

#include "platform/modalresult.h"
