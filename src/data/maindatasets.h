// The data sets of the main window that the record rules move and read. The
// main window owns them; the locate routines and the record rules take them
// as this one small struct, so that printing, export and queries can call the
// same routines.
#pragma once

namespace engine {
class Table;
}

struct MainDataSets {
    engine::Table *Table1 = nullptr;    // the medium card
    engine::Table *Table11 = nullptr;   // second media cursor (look-ups)
    engine::Table *Table2 = nullptr;    // the main window's film cursor
    engine::Table *filmTable = nullptr; // the film window's table
};
