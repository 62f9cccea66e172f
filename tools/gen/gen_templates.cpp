// The template tables a new database is copied from, and the user label
// formats table copied into the per-user folder.
#include "generator.h"

#include "data/tableschemas.h"
#include "engine/engineerror.h"

#include <cstdio>

TARVO_GENERATOR(genTemplates, "template tables")
{
    try {
        CreateTemplateTables(progDir);
    } catch (const engine::EngineError &e) {
        std::fprintf(stderr, "template tables: %s\n", e.what());
        return false;
    }
    return true;
}
