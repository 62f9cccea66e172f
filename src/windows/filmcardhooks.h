// Hooks the film card into the main window: the card opens on the film
// window's table, follows the write lock and redraws the slots after a post.
#pragma once

class TMainform;

void HookFilmCard(TMainform &form);
