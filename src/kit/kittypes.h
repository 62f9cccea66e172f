// Small types the kit's controls share.
#pragma once

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
