// Where a button's glyph sits against its caption. Both button families (flat
// and skinned) take this from their layouts, and one window may hold both.
#pragma once

namespace vh {

enum class TButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

}  // namespace vh
