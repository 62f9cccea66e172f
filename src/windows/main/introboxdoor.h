// What the main window asks of the intro box. The box belongs to the program
// (program/introbox.h), above the windows; the program fills this in when it
// creates the box, and an empty entry means there is none.
#pragma once

#include <functional>

class QWidget;

struct TIntroboxDoor
{
    std::function<void()> ShowNow;                    // show it and paint it at once
    std::function<bool()> Visible;
    std::function<void()> Raise;
    std::function<void(QWidget *parent)> ShowAsAbout; // "Info": a new box, modal
};
extern TIntroboxDoor IntroboxDoor;
