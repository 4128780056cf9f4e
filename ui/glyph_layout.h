// Where a button's glyph sits against its caption. Both button families (flat
// and skinned) take this from their layouts, and one window may hold both.
#pragma once

namespace vh {

enum class TButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

// When a flat button leaves its parent's surface showing instead of filling
// its face: always, while it has no focus, or never.
enum class TTransparentMode { tmAlways = 0, tmNotFocused = 1, tmNone = 2 };

}  // namespace vh
