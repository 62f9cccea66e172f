// Small types that several controls of the kit share.
#pragma once

// Bevel of a panel.
enum TBevelCut { bvNone, bvLowered, bvRaised };
// Horizontal alignment of a panel's caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
